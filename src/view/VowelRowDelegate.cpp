#include "view/VowelRowDelegate.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPainter>
#include <QStyle>

#include <algorithm>

namespace {

constexpr int kSmallestPixels = 8;
constexpr int kMarkGap = 1; // pixels between the symbol and the mark

QFont WithPixelSize(QFont font, int pixels) {
    font.setPixelSize(std::max(pixels, 1));
    return font;
}

int PixelSizeOf(const QFont& font) {
    return font.pixelSize() > 0 ? font.pixelSize() : QFontMetrics(font).height();
}

} // namespace

VowelRowLayout VowelRowDelegate::LayOut(const QString& symbol, bool modified, const QFont& font,
                                        const QRect& textRect) {
    const QString mark(kModifiedMark);
    VowelRowLayout layout;
    int symbolWidth = 0;
    int markWidth = 0;
    // The largest size, down from the list's own, at which symbol and mark fit side by side.
    for (int pixels = PixelSizeOf(font); pixels >= kSmallestPixels; --pixels) {
        layout.symbolFont = WithPixelSize(font, pixels);
        layout.markFont = WithPixelSize(font, (pixels + 1) / 2);
        symbolWidth = QFontMetrics(layout.symbolFont).horizontalAdvance(symbol);
        markWidth = modified ? kMarkGap + QFontMetrics(layout.markFont).horizontalAdvance(mark) : 0;
        if (symbolWidth + markWidth <= textRect.width())
            break;
    }
    const QFontMetrics symbolMetrics(layout.symbolFont);
    const int baseline =
        textRect.top() + (textRect.height() - symbolMetrics.height()) / 2 + symbolMetrics.ascent();
    layout.symbolOrigin = QPoint(textRect.left(), baseline);
    // The small mark sits at the height of a full-size one: across the middle of the symbol.
    const int fullMiddle = symbolMetrics.boundingRect(mark).center().y();
    const int smallMiddle = QFontMetrics(layout.markFont).boundingRect(mark).center().y();
    layout.markOrigin =
        QPoint(textRect.left() + symbolWidth + kMarkGap, baseline + fullMiddle - smallMiddle);
    return layout;
}

void VowelRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const {
    QStyleOptionViewItem row = option;
    initStyleOption(&row, index);
    QString symbol = row.text;
    const bool modified = symbol.endsWith(kModifiedMark);
    if (modified)
        symbol.chop(1);
    // The style draws the row's background, selection and focus; the text is drawn here.
    row.text.clear();
    const QWidget* widget = row.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &row, painter, widget);

    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
    const QRect textRect = row.rect.adjusted(margin, 0, -margin, 0);
    const VowelRowLayout layout = LayOut(symbol, modified, row.font, textRect);
    const bool selected = row.state.testFlag(QStyle::State_Selected);
    const QPalette::ColorGroup group =
        !row.state.testFlag(QStyle::State_Enabled) ? QPalette::Disabled
        : row.state.testFlag(QStyle::State_Active) ? QPalette::Normal
                                                   : QPalette::Inactive;
    painter->save();
    painter->setPen(
        row.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text));
    painter->setFont(layout.symbolFont);
    painter->drawText(layout.symbolOrigin, symbol);
    if (modified) {
        painter->setFont(layout.markFont);
        painter->drawText(layout.markOrigin, QString(kModifiedMark));
    }
    painter->restore();
}
