// The vowel list beside the chart: the page of one vowel type, or every modified vowel, of
// the document's vowels for one voice's gender and one of its two sets.
#pragma once

#include "chart/ChartGeometry.h"
#include "chart/ChartShown.h"
#include "doc/VowelInventory.h"

#include <optional>
#include <string>
#include <vector>

class CTundrelDoc;

// A row of the vowel list and the vowel it stands for.
struct VowelRow {
    unsigned char symbol = 0; // the vowel's byte in the IPA font
    int slot = 0;             // its entry in the document: type x 8 + position
    bool modified = false;    // the user has stored a position into it
    bool operator==(const VowelRow&) const = default;
};

// The formants (Hz) the document holds for one vowel.
struct StoredFormants {
    int f1 = 0;
    int f2 = 0;
    int f3 = 0;
    bool operator==(const StoredFormants&) const = default;
};

// What selecting a row takes from the document: the stored formants, and the stored length
// where the vowel has one of its own.
struct StoredVowel {
    StoredFormants formants;
    std::optional<int> duration;
};

// One symbol a map puts on the chart: its anchor (the symbol's right end on its baseline)
// in chart coordinates, and the dot centred on it.
struct MapSymbol {
    enum class Dot { None, Preset, Stored };
    ChartPoint anchor;
    unsigned char symbol = 0;
    Dot dot = Dot::None;
};

// The rows read and write the vowels of a document, which the list borrows. A list of every
// modified vowel mixes the types: its rows are found by their symbols, not as positions.
class VowelList {
public:
    explicit VowelList(CTundrelDoc* doc) : m_doc(doc) {}

    const std::vector<VowelRow>& Rows() const { return m_rows; }
    // The selected row, or -1.
    int SelectedRow() const { return m_selectedRow; }
    // Counts the fills of the list, so that whatever shows the rows knows when to renew.
    int ListFills() const { return m_listFills; }
    // The user's choice of row (-1 for none); nothing else happens.
    void SetSelectedRow(int row);
    // Lists the page of the type, or every modified vowel; keeps the selected row if it
    // exists.
    void Fill(bool allModified);

    VowelType ShownType() const { return m_type; }
    void SetType(VowelType type) { m_type = type; }
    Gender VoiceGender() const { return m_gender; }
    void SetGender(Gender gender) { m_gender = gender; }
    VowelSet ShownSet() const { return m_set; }
    void SetSet(VowelSet set) { m_set = set; }

    // The formants the document holds for the vowel of a row, found as selecting the row
    // finds it; all 0 for a row that does not exist.
    StoredFormants RowFormants(int row) const;
    // A row as the list holds it: the symbol's byte, then 0x97 for a stored vowel; "" for
    // a row that does not exist.
    std::string ListEntry(int row) const;
    // What selecting the selected row takes; nothing without a selection.
    std::optional<StoredVowel> SelectedVowel() const;
    // The preset F1/F2 that zoom mode centres on; nothing without a selection.
    std::optional<StoredFormants> ZoomCentre() const;
    // Stores formants and a length into the selected row's vowel (which must exist).
    void Store(int f1, int f2, int f3, int duration);
    // Puts the selected vowel's preset back and returns it; nothing when there is no vowel.
    std::optional<StoredFormants> ResetSelected();
    // The symbols a map draws under scale, in drawing order.
    std::vector<MapSymbol> SymbolsOf(ChartMap map, const ChartScale& scale) const;

private:
    const VowelEntry* PresetTable() const;
    std::string SelectedSymbol() const;

    CTundrelDoc* m_doc;
    Gender m_gender = Gender::Male;
    VowelType m_type = VowelType::Primary;
    VowelSet m_set = VowelSet::Cardinal;
    bool m_allModified = false;
    std::vector<VowelRow> m_rows;
    int m_selectedRow = -1;
    int m_listFills = 0;
};
