// The document's files: New, Open and Save, Save As, the text exports and the vow directory.
#include "doc/TundrelDoc.h"

#include "base/Directories.h"
#include "base/FileError.h"
#include "base/SafeFile.h"
#include "base/Settings.h"
#include "doc/VowArchive.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>

namespace {

enum class FileAction { Reading, Writing };

// The framework's message for a document file that could not be opened, read or written.
std::string DocumentFileErrorText(const std::string& path, int error, FileAction action) {
    const bool reading = action == FileAction::Reading;
    switch (error) {
    case ENOENT:
        return reading ? path + " was not found." : path + " contains an invalid path.";
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
        return path + " contains an invalid path.";
    case EACCES:
    case EPERM:
    case EROFS:
        return "Access to " + path + " was denied.";
    case EMFILE:
    case ENFILE:
        return path + " could not be opened because there are too many open files.";
    case ENOSPC:
    case EDQUOT:
        return path + " could not be written because the disk is full.";
    case EIO:
        return std::string("An unexpected error occurred while ") +
               (reading ? "reading " : "writing ") + path + ".";
    case EISDIR:
        return path + " is a folder, not a document.";
    case EINVAL: // never opened, so that a pipe cannot make the program wait
        return path + " is a device or a pipe, not a document.";
    default:
        return reading ? "Failed to open document." : "Failed to save document.";
    }
}

Report DocumentFileError(const std::string& path, int error, FileAction action) {
    Report report;
    report.Fail(DocumentFileErrorText(path, error, action), kAppTitle, MsgIcon::Warning);
    return report;
}

Report UnexpectedFileFormat() {
    Report report;
    report.Fail("Unexpected file format.", kAppTitle, MsgIcon::Warning);
    return report;
}

// The characters after the file name's last ".", empty when it has none.
std::string ExtensionOf(const std::string& path) {
    const std::string name = std::filesystem::path(path).filename().string();
    const auto dot = name.rfind('.');
    return dot == std::string::npos ? std::string() : name.substr(dot + 1);
}

// One line of the text export: "gender;symbol;f1;f2;f3".
std::string TextExportLine(const char* gender, const VowelEntry& entry) {
    char line[128];
    std::snprintf(line, sizeof line, "%s;%s;%d;%d;%d\n", gender, entry.symbol, entry.f1, entry.f2,
                  entry.f3);
    return line;
}

} // namespace

void CTundrelDoc::SetPathName(const std::string& path) {
    m_strPathName = path;
    m_strTitle = std::filesystem::path(path).filename().string();
}

bool CTundrelDoc::OnNewDocument() {
    LoadPresets();
    m_strPathName.clear();
    m_strTitle = "Untitled";
    SetModifiedFlag(false);
    return true;
}

Report CTundrelDoc::OnOpenDocument(const std::string& path) {
    std::string bytes;
    if (int error = ReadWholeFile(path, bytes, kMaxVowFileBytes)) {
        if (error == EFBIG) // nothing was read, so the document stays as it was
            return UnexpectedFileFormat();
        return DocumentFileError(path, error, FileAction::Reading);
    }
    LoadPresets();
    VowReader reader(bytes);
    Report report = LoadFrom(reader);
    if (!report.Ok()) {
        report.Append(UnexpectedFileFormat());
        // The old contents are gone, so the document must not keep a path that Save
        // would overwrite with the presets.
        OnNewDocument();
        return report;
    }
    SetModifiedFlag(false);
    SetPathName(path);
    return report;
}

Report CTundrelDoc::OnSaveDocument(const std::string& path) {
    if (int error = ReplaceFileContents(path, StoreToBytes()))
        return DocumentFileError(path, error, FileAction::Writing);
    SetModifiedFlag(false);
    return Report();
}

Report CTundrelDoc::DoSave(const std::string& path) {
    Report report = OnSaveDocument(path);
    if (report.Ok())
        SetPathName(path);
    return report;
}

SaveAsKind CTundrelDoc::SaveAsKindOf(const std::string& path) {
    const std::string extension = ExtensionOf(path);
    if (extension == "vow")
        return SaveAsKind::Document;
    if (extension == "txt")
        return SaveAsKind::Text;
    if (extension == "vtb")
        return SaveAsKind::VowelTable;
    return SaveAsKind::Unknown;
}

Report CTundrelDoc::SaveAsChosenFile(const std::string& path) {
    switch (SaveAsKindOf(path)) {
    case SaveAsKind::Document:
        return OnSaveDocument(path);
    case SaveAsKind::Text:
        return ExportText(path);
    case SaveAsKind::VowelTable:
        return ExportVowelTable(path);
    case SaveAsKind::Unknown:
        break;
    }
    Report nothingWritten;
    nothingWritten.Fail();
    return nothingWritten;
}

std::string CTundrelDoc::ExportTextBytes() const {
    static const char* const kGenderNames[kGenderCount] = {"female", "male"};
    std::string bytes;
    for (int gender = 0; gender < kGenderCount; ++gender)
        for (int slot = 0; slot < kSlotCount; ++slot) {
            const VowelEntry& entry = Entry(slot, gender, kCardinal);
            if (entry.modified != 0)
                bytes += TextExportLine(kGenderNames[gender], entry);
        }
    return bytes;
}

std::string CTundrelDoc::ExportVowelTableBytes() const {
    std::string bytes;
    for (int gender = 0; gender < kGenderCount; ++gender)
        for (int slot = 0; slot < kSlotCount; ++slot) {
            const VowelEntry& entry = Entry(slot, gender, kCardinal);
            const int code = VowelCodeOf(static_cast<unsigned char>(entry.symbol[0]));
            if (entry.modified == 0 || code == 0)
                continue;
            bytes += std::to_string(code) + " " + std::to_string(entry.f1) + " " +
                     std::to_string(entry.f2) + "\n";
        }
    return bytes;
}

Report CTundrelDoc::WriteExport(const std::string& path, const std::string& bytes) const {
    if (int error = ReplaceFileContents(path, bytes))
        return FileErrorReport(path, error);
    return Report();
}

Report CTundrelDoc::ExportText(const std::string& path) const {
    return WriteExport(path, ExportTextBytes());
}

Report CTundrelDoc::ExportVowelTable(const std::string& path) const {
    return WriteExport(path, ExportVowelTableBytes());
}

void CTundrelDoc::RememberVowDirectory() {
    g_strVowDir = CurrentDirectory();
    WriteSetting(settings::kDocumentFolder, g_strVowDir);
}
