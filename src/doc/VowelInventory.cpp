#include "doc/VowelInventory.h"

namespace {

// Symbol strings: each vowel is one byte of the IPA font, followed by NUL.
constexpr const char* kSym_i = "\x69";
constexpr const char* kSym_e = "\x65";
constexpr const char* kSym_openE = "\x45";
constexpr const char* kSym_a = "\x61";
constexpr const char* kSym_backA = "\x41";
constexpr const char* kSym_openO = "\x8D";
constexpr const char* kSym_o = "\x6F";
constexpr const char* kSym_u = "\x75";
constexpr const char* kSym_y = "\x79";
constexpr const char* kSym_slashO = "\x4F";
constexpr const char* kSym_oe = "\xBF";
constexpr const char* kSym_openOe = "\xAF";
constexpr const char* kSym_turnedA = "\x81";
constexpr const char* kSym_wedge = "\xC3";
constexpr const char* kSym_ramsHorn = "\x46";
constexpr const char* kSym_turnedM = "\xB5";
constexpr const char* kSym_ash = "\x51";
constexpr const char* kSym_smallI = "\x49";
constexpr const char* kSym_upsilon = "\x55";
constexpr const char* kSym_smallY = "\x59";
constexpr const char* kSym_schwa = "\xAB";
constexpr const char* kSym_turnedA2 = "\x8C";
constexpr const char* kSym_barI = "\xF6";
constexpr const char* kSym_barU = "\xAC";
constexpr const char* kSym_revE = "\x82";
constexpr const char* kSym_barO = "\x50";
constexpr const char* kSym_revOpenE = "\xCE";
constexpr const char* kSym_closedRevOpenE = "\xCF";
constexpr const char* kSym_blank = "\x20";

// Preset record: F1, F2, F3, length 100, not modified.
constexpr VowelEntry P(int32_t f1, int32_t f2, int32_t f3, const char* symbol) {
    return VowelEntry{f1, f2, f3, 100, symbol, 0};
}
constexpr VowelEntry kEnd{0, 0, 0, 0, nullptr, 0};

} // namespace

const VowelEntry kPresetVowels[kGenderCount][kTypeCount][kPositionsPerType + 1] = {
    {
        // female
        {P(260, 2600, 3000, kSym_i), P(380, 2550, 3000, kSym_e), P(800, 2150, 3000, kSym_openE),
         P(1100, 1600, 3000, kSym_a), P(790, 1100, 3000, kSym_backA), P(650, 990, 3000, kSym_openO),
         P(450, 790, 3000, kSym_o), P(350, 700, 3000, kSym_u), kEnd},
        {P(350, 2100, 3000, kSym_y), P(350, 1800, 3000, kSym_slashO), P(590, 1600, 3000, kSym_oe),
         P(750, 1500, 3000, kSym_openOe), P(600, 1000, 3000, kSym_turnedA),
         P(550, 1150, 3000, kSym_wedge), P(370, 1250, 3000, kSym_ramsHorn),
         P(280, 1450, 3000, kSym_turnedM), kEnd},
        {P(1100, 1750, 3000, kSym_ash), P(350, 2600, 3000, kSym_smallI),
         P(380, 820, 3000, kSym_upsilon), P(400, 1950, 3000, kSym_smallY),
         P(540, 1520, 3000, kSym_schwa), P(830, 1310, 3000, kSym_turnedA2),
         P(370, 2000, 3000, kSym_barI), P(370, 1790, 3000, kSym_barU), kEnd},
        {P(350, 1650, 3000, kSym_revE), P(400, 1700, 3000, kSym_barO),
         P(700, 1250, 3000, kSym_revOpenE), P(650, 1400, 3000, kSym_closedRevOpenE),
         P(250, 500, 3000, kSym_blank), P(250, 500, 3000, kSym_blank),
         P(250, 500, 3000, kSym_blank), P(250, 500, 3000, kSym_blank), kEnd},
    },
    {
        // male
        {P(250, 2100, 3100, kSym_i), P(350, 2000, 2700, kSym_e), P(650, 1700, 2700, kSym_openE),
         P(850, 1500, 2700, kSym_a), P(700, 1000, 2700, kSym_backA), P(550, 900, 2700, kSym_openO),
         P(400, 700, 2700, kSym_o), P(250, 600, 2700, kSym_u), kEnd},
        {P(250, 1850, 2300, kSym_y), P(350, 1550, 2300, kSym_slashO), P(550, 1420, 2300, kSym_oe),
         P(720, 1350, 2300, kSym_openOe), P(610, 1100, 2700, kSym_turnedA),
         P(520, 920, 2700, kSym_wedge), P(360, 1050, 2700, kSym_ramsHorn),
         P(260, 1100, 2700, kSym_turnedM), kEnd},
        {P(720, 1700, 2700, kSym_ash), P(350, 1900, 2700, kSym_smallI),
         P(350, 900, 2700, kSym_upsilon), P(350, 1500, 2700, kSym_smallY),
         P(500, 1250, 2700, kSym_schwa), P(650, 1100, 2700, kSym_turnedA2),
         P(270, 1700, 2700, kSym_barI), P(270, 1450, 2700, kSym_barU), kEnd},
        {P(450, 1270, 2700, kSym_revE), P(350, 1300, 2700, kSym_barO),
         P(700, 1150, 2700, kSym_revOpenE), P(660, 1320, 2700, kSym_closedRevOpenE),
         P(250, 500, 2700, kSym_blank), P(250, 500, 2700, kSym_blank),
         P(250, 500, 2700, kSym_blank), P(250, 500, 2700, kSym_blank), kEnd},
    },
};

const VowelSymbol kVowelSymbols[kSymbolCount] = {
    {0x69, kSym_i, "i", 301},
    {0x65, kSym_e, "e", 302},
    {0x45, kSym_openE, "\u025B", 303},
    {0x61, kSym_a, "a", 304},
    {0x41, kSym_backA, "\u0251", 305},
    {0x8D, kSym_openO, "\u0254", 306},
    {0x6F, kSym_o, "o", 307},
    {0x75, kSym_u, "u", 308},
    {0x79, kSym_y, "y", 309},
    {0x4F, kSym_slashO, "\u00F8", 310},
    {0xBF, kSym_oe, "\u0153", 311},
    {0xAF, kSym_openOe, "\u0276", 312},
    {0x81, kSym_turnedA, "\u0252", 313},
    {0xC3, kSym_wedge, "\u028C", 314},
    {0x46, kSym_ramsHorn, "\u0264", 315},
    {0xB5, kSym_turnedM, "\u026F", 316},
    {0xF6, kSym_barI, "\u0268", 317},
    {0xAC, kSym_barU, "\u0289", 318},
    {0x49, kSym_smallI, "\u026A", 319},
    {0x59, kSym_smallY, "\u028F", 320},
    {0x55, kSym_upsilon, "\u028A", 321},
    {0xAB, kSym_schwa, "\u0259", 322},
    {0x50, kSym_barO, "\u0275", 323},
    {0x8C, kSym_turnedA2, "\u0250", 324},
    {0x51, kSym_ash, "\u00E6", 325},
    {0xCE, kSym_revOpenE, "\u025C", 326},
    {0xCF, kSym_closedRevOpenE, "\u025E", 327},
    {0x82, kSym_revE, "\u0258", 328},
    {0x20, kSym_blank, " ", 0},
};

const VowelSymbol* FindVowelSymbol(unsigned char fontByte) {
    for (const VowelSymbol& symbol : kVowelSymbols)
        if (symbol.fontByte == fontByte)
            return &symbol;
    return nullptr;
}

const char* SymbolToUtf8(unsigned char fontByte) {
    const VowelSymbol* symbol = FindVowelSymbol(fontByte);
    return symbol ? symbol->utf8 : "\uFFFD";
}

int VowelCodeOf(unsigned char fontByte) {
    const VowelSymbol* symbol = FindVowelSymbol(fontByte);
    return symbol ? symbol->vowelCode : 0;
}
