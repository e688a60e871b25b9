#include "doc/BatchConvert.h"

#include "base/FileError.h"
#include "base/SafeFile.h"
#include "doc/TundrelDoc.h"
#include "doc/VowArchive.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <unistd.h>

const char* const kBatchOutputNames[kBatchOutputCount] = {
    "AllFemaleCardinal.txt", "AllFemaleNative.txt", "AllMaleCardinal.txt", "AllMaleNative.txt"};

namespace {

// Outputs are created and written in this index order: female Cardinal, male Cardinal,
// female Native, male Native.
constexpr int kOutputOrder[kBatchOutputCount] = {0, 2, 1, 3};

const char* const kOldFormatText = "Diese Datei wurde in einem \xE4lteren Format gespeichert und "
                                   "kann von der aktuellen Programmversion nicht gelesen "
                                   "werden.\n";

bool HasVowExtension(const std::string& name) {
    if (name.size() < 4)
        return false;
    std::string extension = name.substr(name.size() - 4);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension == ".vow";
}

// The file name up to its last ".", the whole name when it has none.
std::string NameWithoutExtension(const std::string& name) {
    const auto dot = name.rfind('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

// The four open tables of one batch run; the first failure to create, write or close one
// goes into the batch's report.
class BatchOutputs {
public:
    explicit BatchOutputs(Report& report) : m_report(report) {}
    ~BatchOutputs() {
        for (std::FILE* file : m_files)
            if (file)
                std::fclose(file);
    }
    bool Create(const std::string& folder);
    bool Write(int index, const std::string& text);
    bool Close();

private:
    bool Fail(int index, int error);
    Report& m_report;
    std::FILE* m_files[kBatchOutputCount] = {};
    bool m_failed = false;
};

bool BatchOutputs::Fail(int index, int error) {
    if (!m_failed)
        m_report.Append(FileErrorReport(kBatchOutputNames[index], error));
    m_failed = true;
    return false;
}

bool BatchOutputs::Create(const std::string& folder) {
    for (int index : kOutputOrder) {
        const std::string path =
            (std::filesystem::path(folder) / kBatchOutputNames[index]).string();
        // A folder, device or pipe of a table's name is refused instead of written or waited on.
        int fd = -1;
        if (int error = OpenRegularFileForWriting(path, fd))
            return Fail(index, error);
        m_files[index] = ::fdopen(fd, "wb");
        if (!m_files[index]) {
            const int error = errno;
            ::close(fd);
            return Fail(index, error);
        }
        if (!Write(index, BatchHeaderLine()))
            return false;
    }
    return true;
}

bool BatchOutputs::Write(int index, const std::string& text) {
    if (std::fwrite(text.data(), 1, text.size(), m_files[index]) != text.size())
        return Fail(index, errno);
    return true;
}

bool BatchOutputs::Close() {
    for (int index : kOutputOrder) {
        std::FILE* file = m_files[index];
        m_files[index] = nullptr;
        if (file && std::fclose(file) != 0)
            Fail(index, errno);
    }
    return !m_failed;
}

// Appends one group: the symbol, then the four value fields, each ended by ";".
void AppendGroup(std::string& line, const char* symbol, const std::string (&values)[4]) {
    line += symbol;
    line += ';';
    for (const std::string& value : values) {
        line += value;
        line += ';';
    }
}

// Reads one record's texts into values (F1, F2, F3, LEN) and mod. False at an early end.
bool ReadGroupValues(VowReader& reader, const std::string& version, std::string (&values)[4],
                     std::string& mod) {
    if (version == "1.0") {
        values[3] = "100";
        return reader.ReadString(values[0]) && reader.ReadString(values[1]) &&
               reader.ReadString(values[2]) && reader.ReadString(mod);
    }
    if (version == "1.1")
        return reader.ReadString(values[0]) && reader.ReadString(values[1]) &&
               reader.ReadString(values[2]) && reader.ReadString(values[3]) &&
               reader.ReadString(mod);
    return true; // an unknown version reads nothing; the values stay as they are
}

// Converts one document file into its four lines and writes them. False when it could not
// be opened (the batch ends) or ended early (reported; the batch goes on).
bool ConvertFile(const std::string& folder, const std::string& name, const CTundrelDoc& symbols,
                 BatchOutputs& outputs, Report& report, bool& stop) {
    std::string bytes;
    const int error =
        ReadWholeFile((std::filesystem::path(folder) / name).string(), bytes, kMaxVowFileBytes);
    // A file too big to be a document is converted like an empty one: empty groups and
    // "Unexpected file format.".
    if (error != 0 && error != EFBIG) {
        report.Append(FileErrorReport(name, error));
        stop = true;
        return false;
    }
    const std::string prefix = NameWithoutExtension(name) + ";";
    std::string lines[kBatchOutputCount];
    VowReader reader(bytes);
    const bool complete = ConvertDocument(reader, symbols, lines);
    for (int index : kOutputOrder)
        if (!outputs.Write(index, prefix + lines[index])) {
            stop = true;
            return false;
        }
    if (!complete)
        report.Fail(name + ": Unexpected file format.", "Error", MsgIcon::Error);
    return complete;
}

} // namespace

std::string BatchHeaderLine() {
    std::string line = "Name;";
    for (int slot = 0; slot < kSlotCount; ++slot)
        line += "-;f1;f2;f3;len;";
    line += '\n';
    return line;
}

bool ConvertDocument(VowReader& reader, const CTundrelDoc& symbols,
                     std::string (&lines)[kBatchOutputCount]) {
    std::string mark;
    std::string version;
    bool complete = reader.ReadString(mark) && reader.ReadString(version);
    if (complete && mark != "vow") {
        for (std::string& line : lines)
            line += kOldFormatText;
        return true;
    }
    std::string values[4];
    std::string mod;
    for (int set = 0; set < kSetCount; ++set)
        for (int gender = 0; gender < kGenderCount; ++gender) {
            std::string& line = lines[set + 2 * gender];
            for (int slot = 0; slot < kSlotCount; ++slot) {
                complete = complete && ReadGroupValues(reader, version, values, mod);
                if (!complete || VowTextToInt(mod) == 0)
                    std::fill(std::begin(values), std::end(values), std::string());
                AppendGroup(line, symbols.m_entries[slot][gender][set].symbol, values);
            }
            line += '\n';
        }
    return complete;
}

std::vector<std::string> FindVowDocuments(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& item : std::filesystem::directory_iterator(folder, error)) {
        const std::string name = item.path().filename().string();
        std::error_code typeError;
        if (HasVowExtension(name) && !item.is_directory(typeError))
            names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

BatchResult BatchConvertFolder(const std::string& folder, const CTundrelDoc& symbols,
                               bool showDone) {
    BatchResult result;
    const std::vector<std::string> names = FindVowDocuments(folder);
    if (names.empty()) {
        result.outcome = BatchOutcome::NoDocuments;
        return result;
    }
    BatchOutputs outputs(result.report);
    if (!outputs.Create(folder))
        return result;
    bool allComplete = true;
    for (const std::string& name : names) {
        bool stop = false;
        allComplete =
            ConvertFile(folder, name, symbols, outputs, result.report, stop) && allComplete;
        if (stop) {
            outputs.Close();
            return result;
        }
    }
    if (!outputs.Close() || !allComplete) {
        result.report.Fail();
        return result;
    }
    if (showDone)
        result.report.Note("Dateien wurden erfolgreich konvertiert.", "Fertig",
                           MsgIcon::Information);
    result.outcome = BatchOutcome::Converted;
    return result;
}
