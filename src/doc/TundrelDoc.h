// The vowel document: the user's stored positions of all 128 vowel entries, with the
// title, path and changed flag a document window needs, and its files and exports.
#pragma once

#include "base/Report.h"
#include "doc/VowelInventory.h"

#include <string>
#include <string_view>

class VowReader;

// What a Save As file name chose, by its extension (compared case-sensitively).
enum class SaveAsKind { Document, Text, VowelTable, Unknown };

class CTundrelDoc {
public:
    // A new document holding the presets ("Untitled", no path, unchanged).
    CTundrelDoc();

    // --- The vowel entries -------------------------------------------------------------
    // Fills all entries from the presets and re-reads the vow directory from the profile.
    void LoadPresets();
    // Stores a user's position: the values, modified = 1, and the document becomes changed.
    void StoreEntry(int slot, int f1, int f2, int f3, int len, int gender, int set);
    void StoreEntryBySymbol(const char* symbol, int f1, int f2, int f3, int len, int gender,
                            int set);
    // Puts values back without marking anything: modified = 0, the changed flag untouched.
    void InitEntry(int slot, int f1, int f2, int f3, int len, int gender, int set);
    int IsEntryModified(int slot, int gender, int set) const;
    int GetEntryF1(int slot, int gender, int set) const;
    int GetEntryF2(int slot, int gender, int set) const;
    int GetEntryF3(int slot, int gender, int set) const;
    int GetEntryLen(int slot, int gender, int set) const;
    int GetEntryF1BySymbol(const char* symbol, int gender, int set) const;
    int GetEntryF2BySymbol(const char* symbol, int gender, int set) const;
    int GetEntryF3BySymbol(const char* symbol, int gender, int set) const;
    int GetEntryLenBySymbol(const char* symbol, int gender, int set) const;
    // The first entry of list (gender, set) whose symbol starts with the same byte as
    // symbol; entry (slot 0, female, Cardinal) when there is none.
    const VowelEntry& FindEntry(const char* symbol, int gender, int set) const;
    VowelEntry& FindEntry(const char* symbol, int gender, int set);
    // Marks modified every entry whose F1, F2 or F3 differs from its preset; never clears.
    void MarkModifiedEntries();
    // The preset F1, F2, F3 of (type, position, gender).
    static void GetPresetFormants(int type, int position, int gender, int& f1, int& f2, int& f3);

    // --- The .vow format ---------------------------------------------------------------
    // The document as a format-1.1 file.
    std::string StoreToBytes() const;
    // Reads a .vow file (1.1, 1.0 or 0.0) over the current entries; the report notes the
    // "Achtung" message of an old format, and fails (saying nothing more) when the data ends
    // before the last string the format asks for. An unknown version reads no records and
    // succeeds. The caller clears the document first (LoadPresets).
    Report LoadFrom(VowReader& reader);

    // --- Document framework ------------------------------------------------------------
    const std::string& GetTitle() const { return m_strTitle; }
    const std::string& GetPathName() const { return m_strPathName; }
    // Takes path as the document's path, and its file name with extension as the title.
    void SetPathName(const std::string& path);
    bool IsModified() const { return m_bModified; }
    void SetModifiedFlag(bool modified = true) { m_bModified = modified; }

    // File New: presets, no path, title "Untitled", unchanged.
    bool OnNewDocument();
    // File Open: reads the whole file first (a failure is reported and leaves the
    // document as it was), then clears the document and reads it. A file that ends early
    // fails with "Unexpected file format." and leaves a new untitled document with the
    // presets. On success the document is unchanged, with the file's path and title.
    // The report holds what the user is to be told, in order; the caller shows it.
    Report OnOpenDocument(const std::string& path);
    // The save step: writes the document to path in format 1.1 without ever destroying
    // the previous file, and clears the changed flag. Path and title are not touched, so
    // this alone is Save As with the extension "vow". On a failure the report says why and
    // the changed flag stays.
    Report OnSaveDocument(const std::string& path);
    // File Save to a name: the save step, then path takes the new path and title.
    Report DoSave(const std::string& path);

    // --- Save As and exports -----------------------------------------------------------
    static SaveAsKind SaveAsKindOf(const std::string& path);
    // The dispatch after a confirmed Save As dialog: saves the document (".vow") or writes
    // an export (".txt", ".vtb"); any other extension writes nothing and fails silently.
    Report SaveAsChosenFile(const std::string& path);
    // The modified Cardinal entries, female then male, as "gender;symbol;f1;f2;f3" lines.
    Report ExportText(const std::string& path) const;
    // The modified Cardinal entries as "code f1 f2" lines. Blank placeholders have no
    // vowel code, so they are left out.
    Report ExportVowelTable(const std::string& path) const;
    // The working directory becomes the vow directory, in memory and in the profile.
    static void RememberVowDirectory();

    std::string ExportTextBytes() const;
    std::string ExportVowelTableBytes() const;

    // One entry per (slot, gender, set).
    VowelEntry m_entries[kSlotCount][kGenderCount][kSetCount];

private:
    VowelEntry& Entry(int slot, int gender, int set) { return m_entries[slot][gender][set]; }
    const VowelEntry& Entry(int slot, int gender, int set) const {
        return m_entries[slot][gender][set];
    }
    bool ReadFormat00(VowReader& reader);
    bool ReadRecords(VowReader& reader, bool withLength);
    Report WriteExport(const std::string& path, const std::string& bytes) const;

    std::string m_strTitle;
    std::string m_strPathName;
    bool m_bModified = false;
};

// The caption of the framework's own messages about documents.
extern const char* const kAppTitle;
