// Dialog-unit geometry: places dialog controls in units of the dialog font, as templates do.
#pragma once

#include <QFont>
#include <QRect>

// Converts dialog units to pixels: a horizontal unit is a quarter of the font's average
// character width, a vertical unit an eighth of its height.
class DialogUnits {
public:
    explicit DialogUnits(const QFont& font);
    QRect Rect(int x, int y, int cx, int cy) const;
    QSize Size(int cx, int cy) const;

private:
    int m_baseX;
    int m_baseY;
};

// The font of the program's dialogs: "MS Sans Serif" 8 point, or the toolkit's nearest match.
QFont DialogFont();
