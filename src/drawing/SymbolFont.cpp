// Chooses the font that draws the vowel symbols, with the IPA glyphs they need.
#include "drawing/SymbolFont.h"

#include "doc/VowelInventory.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QList>
#include <QString>
#include <QStringList>

namespace {

constexpr const char* kPreferredFamily = "Doulos SIL";

bool HasAllVowelGlyphs(const QFont& font) {
    const QFontMetrics metrics(font);
    for (const VowelSymbol& symbol : kVowelSymbols) {
        const QString text = QString::fromUtf8(symbol.utf8);
        for (char32_t ucs4 : text.toUcs4()) {
            if (ucs4 != U' ' && !metrics.inFontUcs4(ucs4))
                return false;
        }
    }
    return true;
}

QFont SizedFont(const QString& family) {
    QFont font(family);
    font.setBold(true);
    font.setPixelSize(kSymbolFontPixels);
    return font;
}

bool IsFamily(const QFont& font, const QString& family) {
    return QFontInfo(font).family().compare(family, Qt::CaseInsensitive) == 0;
}

} // namespace

SymbolFontChoice ChooseSymbolFont() {
    QStringList families = QFontDatabase::families();
    families.removeAll(QString::fromLatin1(kPreferredFamily));
    families.prepend(QString::fromLatin1(kPreferredFamily));
    for (const QString& family : families) {
        QFont font = SizedFont(family);
        if (IsFamily(font, family) && HasAllVowelGlyphs(font))
            return {font, true};
    }
    QFont fallback = SizedFont(QStringLiteral("Arial"));
    fallback.setStyleHint(QFont::SansSerif);
    return {fallback, false};
}

QFont SymbolListFont(const QFont& symbolFont) {
    QFont font = symbolFont;
    font.setPixelSize(kSymbolListPixels);
    return font;
}
