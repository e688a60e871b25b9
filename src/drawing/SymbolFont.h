// Chooses the font that draws the vowel symbols, with the IPA glyphs they need.
#pragma once

#include <QFont>

// The font of the vowel symbols: bold, 32 pixels to the em, "Doulos SIL" when installed,
// else any installed font that has every IPA vowel of the inventory. hasIpaGlyphs is false
// when no such font exists; the font is then a plain sans serif face.
struct SymbolFontChoice {
    QFont font;
    bool hasIpaGlyphs = false;
};

SymbolFontChoice ChooseSymbolFont();

constexpr int kSymbolFontPixels = 32;

// The same face for the rows of the vowel list: small enough that eight rows of
// kSymbolRowHeight fit the list's 301 pixels without a scroll bar.
QFont SymbolListFont(const QFont& symbolFont);
constexpr int kSymbolListPixels = 26;
constexpr int kSymbolRowHeight = 37;
