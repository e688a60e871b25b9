// Draws the rows of the vowel list: the whole symbol, and the mark of a stored vowel.
#pragma once

#include <QChar>
#include <QFont>
#include <QPoint>
#include <QStyledItemDelegate>

// Follows the symbol of a vowel whose position the user has stored (byte 0x97 of the
// list's font): an em dash.
inline constexpr QChar kModifiedMark{0x2014};

// Where a row's text goes: the symbol in the list's font, the mark smaller beside it, both
// made smaller still when they would not fit the row's width otherwise.
struct VowelRowLayout {
    QFont symbolFont;
    QPoint symbolOrigin; // left end of the baseline
    QFont markFont;
    QPoint markOrigin;
};

// The list is as narrow as the column beside the chart, and a list with a scroll bar is
// narrower still: the row's text is drawn here so that it is never cut short ("…"), which
// would leave the user unable to tell one vowel from another.
class VowelRowDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

    // Lays out symbol (and the mark when modified) in font within textRect: left-aligned and
    // vertically centred; the mark at about half the symbol's size.
    static VowelRowLayout LayOut(const QString& symbol, bool modified, const QFont& font,
                                 const QRect& textRect);
};
