// The fixed vowel inventory: indices, the 29 symbols and the preset formant tables.
#pragma once

#include <cstdint>

// Index ranges used by every part of the program.
constexpr int kGenderCount = 2;      // 0 = female, 1 = male
constexpr int kSetCount = 2;         // 0 = "Cardinal", 1 = "Native"
constexpr int kTypeCount = 4;        // primary, secondary (rounded), further, schwa
constexpr int kPositionsPerType = 8; // row of the vowel inside its type
constexpr int kSlotCount = kTypeCount * kPositionsPerType;

constexpr int kFemale = 0;
constexpr int kMale = 1;
constexpr int kCardinal = 0;
constexpr int kNative = 1;

// Whose voice the vowels are for. The numbers are the tables' and the documents' indices.
enum class Gender { Female = kFemale, Male = kMale };
// Which of a document's two sets of stored vowels is read and written ("Cardinal", "Native").
enum class VowelSet { Cardinal = kCardinal, Native = kNative };
// The vowel types, one page of the vowel list each, in the order Tab pages through them.
enum class VowelType { Primary, Secondary, Further, Schwa };

// The index of a gender, set or type in the tables and the documents.
constexpr int IndexOf(Gender gender) {
    return static_cast<int>(gender);
}
constexpr int IndexOf(VowelSet set) {
    return static_cast<int>(set);
}
constexpr int IndexOf(VowelType type) {
    return static_cast<int>(type);
}
// The type after type, the schwa page followed by the primary one.
constexpr VowelType NextType(VowelType type) {
    return static_cast<VowelType>((IndexOf(type) + 1) % kTypeCount);
}

// The slot of a vowel: type × 8 + position.
constexpr int SlotOf(int type, int position) {
    return type * kPositionsPerType + position;
}

// One vowel position: formants in Hz, length in percent, the symbol and whether the user
// has stored a position into it (any nonzero value counts as modified).
struct VowelEntry {
    int32_t f1;
    int32_t f2;
    int32_t f3;
    int32_t len;
    const char* symbol; // one byte in the IPA font's encoding, NUL-terminated; never written
    int32_t modified;
};

// Preset tables by gender and type: eight vowels, then an all-zero terminator record
// (symbol nullptr) that ends a walk through the table.
extern const VowelEntry kPresetVowels[kGenderCount][kTypeCount][kPositionsPerType + 1];

// One of the 29 symbols: its byte in the IPA font, the vowel as UTF-8 for display, and
// the IPA number written to vowel tables (0 for the blank placeholder, which has none).
struct VowelSymbol {
    unsigned char fontByte;
    const char* text; // the one-byte NUL-terminated symbol string used by VowelEntry
    const char* utf8; // the vowel as a Unicode IPA character
    int vowelCode;    // 301..328, 0 for the blank
};

constexpr int kSymbolCount = 29;
extern const VowelSymbol kVowelSymbols[kSymbolCount];

// The blank placeholder symbol of schwa positions 4 to 7.
constexpr unsigned char kBlankSymbolByte = 0x20;

// The symbol of a font byte, or nullptr when the byte is not one of the 29.
const VowelSymbol* FindVowelSymbol(unsigned char fontByte);

// The Unicode IPA character (UTF-8) shown for a font byte; U+FFFD for an unknown byte.
const char* SymbolToUtf8(unsigned char fontByte);

// The IPA number of a font byte for the vowel table, 0 when it has none (blank, unknown).
int VowelCodeOf(unsigned char fontByte);
