#include "doc/TundrelDoc.h"

#include "base/Directories.h"
#include "base/Settings.h"
#include "doc/VowArchive.h"

#include <utility>

const char* const kAppTitle = "Quirnel";

namespace {

const char* const kFormat00Notice = "Die Datei wurde in Format 0.0 (ohne Len-Werte und ohne "
                                    "Modified-Infos) gespeichert. Len wird automatisch auf "
                                    "100 gesetzt.";
const char* const kFormat10Notice = "Die Datei wurde in Format 1.0 (ohne Len-Werte) "
                                    "gespeichert. Len wird automatisch auf 100 gesetzt.";

bool ReadNumber(VowReader& reader, int32_t& value) {
    std::string text;
    if (!reader.ReadString(text))
        return false;
    value = VowTextToInt(text);
    return true;
}

} // namespace

CTundrelDoc::CTundrelDoc() {
    LoadPresets();
    m_strTitle = "Untitled";
}

void CTundrelDoc::LoadPresets() {
    g_strVowDir = ReadSetting(settings::kDocumentFolder);
    for (int set = 0; set < kSetCount; ++set)
        for (int gender = 0; gender < kGenderCount; ++gender)
            for (int type = 0; type < kTypeCount; ++type)
                for (int pos = 0; kPresetVowels[gender][type][pos].symbol != nullptr; ++pos)
                    Entry(SlotOf(type, pos), gender, set) = kPresetVowels[gender][type][pos];
}

namespace {

// Writes the four values of an entry and its modified flag.
void WriteEntry(VowelEntry& entry, int f1, int f2, int f3, int len, int modified) {
    entry.f1 = f1;
    entry.f2 = f2;
    entry.f3 = f3;
    entry.len = len;
    entry.modified = modified;
}

} // namespace

void CTundrelDoc::StoreEntry(int slot, int f1, int f2, int f3, int len, int gender, int set) {
    WriteEntry(Entry(slot, gender, set), f1, f2, f3, len, 1);
    SetModifiedFlag();
}

void CTundrelDoc::StoreEntryBySymbol(const char* symbol, int f1, int f2, int f3, int len,
                                     int gender, int set) {
    WriteEntry(FindEntry(symbol, gender, set), f1, f2, f3, len, 1);
    SetModifiedFlag();
}

void CTundrelDoc::InitEntry(int slot, int f1, int f2, int f3, int len, int gender, int set) {
    WriteEntry(Entry(slot, gender, set), f1, f2, f3, len, 0);
}

int CTundrelDoc::IsEntryModified(int slot, int gender, int set) const {
    return Entry(slot, gender, set).modified;
}
int CTundrelDoc::GetEntryF1(int slot, int gender, int set) const {
    return Entry(slot, gender, set).f1;
}
int CTundrelDoc::GetEntryF2(int slot, int gender, int set) const {
    return Entry(slot, gender, set).f2;
}
int CTundrelDoc::GetEntryF3(int slot, int gender, int set) const {
    return Entry(slot, gender, set).f3;
}
int CTundrelDoc::GetEntryLen(int slot, int gender, int set) const {
    return Entry(slot, gender, set).len;
}
int CTundrelDoc::GetEntryF1BySymbol(const char* symbol, int gender, int set) const {
    return FindEntry(symbol, gender, set).f1;
}
int CTundrelDoc::GetEntryF2BySymbol(const char* symbol, int gender, int set) const {
    return FindEntry(symbol, gender, set).f2;
}
int CTundrelDoc::GetEntryF3BySymbol(const char* symbol, int gender, int set) const {
    return FindEntry(symbol, gender, set).f3;
}
int CTundrelDoc::GetEntryLenBySymbol(const char* symbol, int gender, int set) const {
    return FindEntry(symbol, gender, set).len;
}

const VowelEntry& CTundrelDoc::FindEntry(const char* symbol, int gender, int set) const {
    if (symbol != nullptr) {
        for (int slot = 0; slot < kSlotCount; ++slot) {
            const VowelEntry& entry = Entry(slot, gender, set);
            if (entry.symbol[0] == symbol[0])
                return entry;
        }
    }
    return Entry(0, kFemale, kCardinal);
}

VowelEntry& CTundrelDoc::FindEntry(const char* symbol, int gender, int set) {
    return const_cast<VowelEntry&>(std::as_const(*this).FindEntry(symbol, gender, set));
}

void CTundrelDoc::MarkModifiedEntries() {
    for (int set = 0; set < kSetCount; ++set)
        for (int gender = 0; gender < kGenderCount; ++gender)
            for (int type = 0; type < kTypeCount; ++type)
                for (int pos = 0; pos < kPositionsPerType; ++pos) {
                    const VowelEntry& preset = kPresetVowels[gender][type][pos];
                    VowelEntry& entry = Entry(SlotOf(type, pos), gender, set);
                    if (entry.f1 != preset.f1 || entry.f2 != preset.f2 || entry.f3 != preset.f3)
                        entry.modified = 1;
                }
}

void CTundrelDoc::GetPresetFormants(int type, int position, int gender, int& f1, int& f2, int& f3) {
    const VowelEntry& preset = kPresetVowels[gender][type][position];
    f1 = preset.f1;
    f2 = preset.f2;
    f3 = preset.f3;
}

std::string CTundrelDoc::StoreToBytes() const {
    VowWriter writer;
    writer.WriteString("vow");
    writer.WriteString("1.1");
    for (int set = 0; set < kSetCount; ++set)
        for (int gender = 0; gender < kGenderCount; ++gender)
            for (int slot = 0; slot < kSlotCount; ++slot) {
                const VowelEntry& entry = Entry(slot, gender, set);
                writer.WriteNumber(entry.f1);
                writer.WriteNumber(entry.f2);
                writer.WriteNumber(entry.f3);
                writer.WriteNumber(entry.len);
                writer.WriteNumber(entry.modified);
            }
    writer.WriteString("\n");
    return writer.Bytes();
}

// Format 0.0: F1, F2, F3 of the female and the male Cardinal lists, from the first byte.
bool CTundrelDoc::ReadFormat00(VowReader& reader) {
    reader.Rewind();
    for (int gender = 0; gender < kGenderCount; ++gender)
        for (int slot = 0; slot < kSlotCount; ++slot) {
            VowelEntry& entry = Entry(slot, gender, kCardinal);
            if (!ReadNumber(reader, entry.f1) || !ReadNumber(reader, entry.f2) ||
                !ReadNumber(reader, entry.f3))
                return false;
            entry.len = 100;
        }
    MarkModifiedEntries();
    return true;
}

// Formats 1.1 (with the length) and 1.0 (without: the length becomes 100).
bool CTundrelDoc::ReadRecords(VowReader& reader, bool withLength) {
    for (int set = 0; set < kSetCount; ++set)
        for (int gender = 0; gender < kGenderCount; ++gender)
            for (int slot = 0; slot < kSlotCount; ++slot) {
                VowelEntry& entry = Entry(slot, gender, set);
                entry.len = 100;
                if (!ReadNumber(reader, entry.f1) || !ReadNumber(reader, entry.f2) ||
                    !ReadNumber(reader, entry.f3) ||
                    (withLength && !ReadNumber(reader, entry.len)) ||
                    !ReadNumber(reader, entry.modified))
                    return false;
            }
    return true;
}

Report CTundrelDoc::LoadFrom(VowReader& reader) {
    Report report;
    std::string mark;
    std::string version;
    if (!reader.ReadString(mark) || !reader.ReadString(version)) {
        report.Fail();
        return report;
    }
    if (mark != "vow") {
        report.Note(kFormat00Notice, "Achtung", MsgIcon::Warning);
        if (!ReadFormat00(reader)) {
            report.Fail();
            return report;
        }
    }
    // In a format-0.0 file the "version" is the first F2 and matches neither version.
    if (version == "1.0") {
        report.Note(kFormat10Notice, "Achtung", MsgIcon::Warning);
        if (!ReadRecords(reader, false))
            report.Fail();
    } else if (version == "1.1") {
        if (!ReadRecords(reader, true))
            report.Fail();
    }
    return report;
}
