#include "chart/VowelList.h"

#include "chart/ContinuousScale.h"
#include "doc/TundrelDoc.h"

namespace {

// Follows the symbol of a stored vowel in the list's entry, as the exports write it.
constexpr char kModifiedMarkByte = '\x97';

unsigned char FirstByte(const char* symbol) {
    return symbol ? static_cast<unsigned char>(symbol[0]) : 0;
}

// The first slot, in type and record order, whose symbol starts with fontByte; -1 if none.
int SlotOfSymbol(unsigned char fontByte) {
    for (int type = 0; type < kTypeCount; ++type) {
        for (int position = 0; position < kPositionsPerType; ++position) {
            if (FirstByte(kPresetVowels[kMale][type][position].symbol) == fontByte)
                return SlotOf(type, position);
        }
    }
    return -1;
}

const VowelEntry& PresetOfSlot(Gender gender, int slot) {
    return kPresetVowels[IndexOf(gender)][slot / kPositionsPerType][slot % kPositionsPerType];
}

} // namespace

const VowelEntry* VowelList::PresetTable() const {
    return kPresetVowels[IndexOf(m_gender)][IndexOf(m_type)];
}

std::string VowelList::SelectedSymbol() const {
    if (m_selectedRow < 0)
        return std::string();
    return std::string(1, static_cast<char>(m_rows[static_cast<size_t>(m_selectedRow)].symbol));
}

void VowelList::SetSelectedRow(int row) {
    m_selectedRow = row >= 0 && static_cast<size_t>(row) < m_rows.size() ? row : -1;
}

void VowelList::Fill(bool allModified) {
    const int row = m_selectedRow;
    const int gender = IndexOf(m_gender);
    const int set = IndexOf(m_set);
    m_allModified = allModified;
    m_rows.clear();
    if (allModified) {
        for (int type = 0; type < kTypeCount; ++type) {
            for (int position = 0; position < kPositionsPerType; ++position) {
                const int slot = SlotOf(type, position);
                if (m_doc->IsEntryModified(slot, gender, set))
                    m_rows.push_back(
                        {FirstByte(kPresetVowels[kMale][type][position].symbol), slot, true});
            }
        }
    } else {
        const VowelEntry* table = PresetTable();
        for (int position = 0; table[position].f1 != 0; ++position) {
            const int slot = SlotOf(IndexOf(m_type), position);
            m_rows.push_back({FirstByte(table[position].symbol), slot,
                              m_doc->IsEntryModified(slot, gender, set) != 0});
        }
    }
    SetSelectedRow(row);
    ++m_listFills;
}

std::string VowelList::ListEntry(int row) const {
    if (row < 0 || static_cast<size_t>(row) >= m_rows.size())
        return std::string();
    const VowelRow& entry = m_rows[static_cast<size_t>(row)];
    std::string bytes(1, static_cast<char>(entry.symbol));
    if (entry.modified)
        bytes += kModifiedMarkByte;
    return bytes;
}

StoredFormants VowelList::RowFormants(int row) const {
    if (row < 0 || static_cast<size_t>(row) >= m_rows.size())
        return {};
    const int gender = IndexOf(m_gender);
    const int set = IndexOf(m_set);
    if (m_allModified) {
        const std::string symbol(1, static_cast<char>(m_rows[static_cast<size_t>(row)].symbol));
        const char* s = symbol.c_str();
        return {m_doc->GetEntryF1BySymbol(s, gender, set),
                m_doc->GetEntryF2BySymbol(s, gender, set),
                m_doc->GetEntryF3BySymbol(s, gender, set)};
    }
    const int slot = SlotOf(IndexOf(m_type), row);
    return {m_doc->GetEntryF1(slot, gender, set), m_doc->GetEntryF2(slot, gender, set),
            m_doc->GetEntryF3(slot, gender, set)};
}

std::optional<StoredVowel> VowelList::SelectedVowel() const {
    if (m_selectedRow < 0)
        return std::nullopt;
    const int gender = IndexOf(m_gender);
    const int set = IndexOf(m_set);
    StoredVowel vowel;
    vowel.formants = RowFormants(m_selectedRow);
    if (m_allModified) {
        // The rows are vowels of all types: each is found by its symbol.
        vowel.duration = m_doc->GetEntryLenBySymbol(SelectedSymbol().c_str(), gender, set);
    } else {
        const int slot = SlotOf(IndexOf(m_type), m_selectedRow);
        if (m_doc->IsEntryModified(slot, gender, set))
            vowel.duration = m_doc->GetEntryLen(slot, gender, set);
    }
    return vowel;
}

std::optional<StoredFormants> VowelList::ZoomCentre() const {
    if (m_selectedRow < 0)
        return std::nullopt;
    const VowelEntry* record = nullptr;
    // A list of modified vowels (also the one the Modified Map shows) mixes all types: its
    // rows are found by their symbols, not as positions in the current type's table.
    if (!m_allModified) {
        record = &PresetTable()[m_selectedRow];
    } else {
        const int slot = SlotOfSymbol(static_cast<unsigned char>(SelectedSymbol()[0]));
        record = slot < 0 ? &kPresetVowels[kMale][0][0] : &PresetOfSlot(m_gender, slot);
    }
    return StoredFormants{record->f1, record->f2, record->f3};
}

void VowelList::Store(int f1, int f2, int f3, int duration) {
    const int gender = IndexOf(m_gender);
    const int set = IndexOf(m_set);
    // The modified vowels' list finds the vowel by its symbol, as selecting it does.
    if (m_allModified)
        m_doc->StoreEntryBySymbol(SelectedSymbol().c_str(), f1, f2, f3, duration, gender, set);
    else
        m_doc->StoreEntry(SlotOf(IndexOf(m_type), m_selectedRow), f1, f2, f3, duration, gender,
                          set);
}

std::optional<StoredFormants> VowelList::ResetSelected() {
    if (m_selectedRow < 0)
        return std::nullopt;
    // The list of modified vowels mixes all types: its row is not a position, so the vowel
    // is found by its symbol, as storing it does.
    int slot = SlotOf(IndexOf(m_type), m_selectedRow);
    if (m_allModified)
        slot = SlotOfSymbol(static_cast<unsigned char>(SelectedSymbol()[0]));
    if (slot < 0)
        return std::nullopt;
    const VowelEntry& preset = PresetOfSlot(m_gender, slot);
    m_doc->InitEntry(slot, preset.f1, preset.f2, preset.f3, 100, IndexOf(m_gender), IndexOf(m_set));
    return StoredFormants{preset.f1, preset.f2, preset.f3};
}

std::vector<MapSymbol> VowelList::SymbolsOf(ChartMap map, const ChartScale& scale) const {
    std::vector<MapSymbol> symbols;
    auto add = [&](const char* symbol, int f1, int f2, MapSymbol::Dot dot) {
        symbols.push_back(
            {{FrequencyToX(scale, f1), FrequencyToY(scale, f2)}, FirstByte(symbol), dot});
    };
    const int gender = IndexOf(m_gender);
    const int set = IndexOf(m_set);
    const VowelEntry* table = PresetTable();
    switch (map) {
    case ChartMap::Gray: // every record of the voice's four types, the blank ones too
        for (int type = 0; type < kTypeCount; ++type) {
            for (int position = 0; position < kPositionsPerType; ++position) {
                const VowelEntry& record = kPresetVowels[gender][type][position];
                add(record.symbol, record.f1, record.f2, MapSymbol::Dot::None);
            }
        }
        break;
    case ChartMap::Formant: // the presets of the page
        for (const VowelEntry* record = table; record->f1 != 0; ++record)
            add(record->symbol, record->f1, record->f2, MapSymbol::Dot::Preset);
        break;
    case ChartMap::User: // the stored positions of the page
        for (int position = 0; table[position].f1 != 0; ++position) {
            const int slot = SlotOf(IndexOf(m_type), position);
            add(table[position].symbol, m_doc->GetEntryF1(slot, gender, set),
                m_doc->GetEntryF2(slot, gender, set), MapSymbol::Dot::Stored);
        }
        break;
    case ChartMap::Modified: // every modified vowel
        for (int type = 0; type < kTypeCount; ++type) {
            for (int position = 0; position < kPositionsPerType; ++position) {
                const int slot = SlotOf(type, position);
                if (m_doc->IsEntryModified(slot, gender, set))
                    add(kPresetVowels[kMale][type][position].symbol,
                        m_doc->GetEntryF1(slot, gender, set), m_doc->GetEntryF2(slot, gender, set),
                        MapSymbol::Dot::Stored);
            }
        }
        break;
    }
    return symbols;
}
