#include "view/DialogUnits.h"

#include <QFontMetrics>
#include <algorithm>

namespace {

constexpr const char* kAlphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";

} // namespace

DialogUnits::DialogUnits(const QFont& font) {
    const QFontMetrics metrics(font);
    // The average width is rounded as the templates' own conversion does.
    m_baseX = std::max(1, (metrics.horizontalAdvance(QString::fromLatin1(kAlphabet)) / 26 + 1) / 2);
    m_baseY = std::max(1, metrics.height());
}

QRect DialogUnits::Rect(int x, int y, int cx, int cy) const {
    const QSize size = Size(cx, cy);
    return QRect(x * m_baseX / 4, y * m_baseY / 8, size.width(), size.height());
}

QSize DialogUnits::Size(int cx, int cy) const {
    return QSize(cx * m_baseX / 4, cy * m_baseY / 8);
}

QFont DialogFont() {
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(8);
    return font;
}
