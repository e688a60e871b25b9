#include "view/ChartDrawing.h"

#include "doc/VowelInventory.h"
#include "view/ChartState.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPixmap>

namespace {

const QColor kLightGrey(192, 192, 192);

// The chart: a one-pixel black frame covering x 50..429 and y 0..384 around white.
void DrawChartFrame(QPainter& painter) {
    const QRect chart(kChartLeft, kChartTop, kChartWidth, kChartHeight);
    painter.fillRect(chart, Qt::white);
    painter.setPen(QPen(Qt::black, 0));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(chart.adjusted(0, 0, -1, -1));
}

// Grid lines every gridWidth pixels; each line stops one pixel short of its end point.
void DrawGrid(QPainter& painter, int gridWidth) {
    const int g = gridWidth > 0 ? gridWidth : 1;
    painter.setPen(QPen(kLightGrey, 0));
    for (int x = kChartLeft + g; x < kChartRight; x += g)
        painter.drawLine(x, 1, x, kChartBottom - 2);
    for (int y = kChartTop + g; y < kChartBottom; y += g)
        painter.drawLine(1, y, kChartRight - 2, y);
    painter.setPen(QPen(Qt::black, 0));
}

// The symbol's right edge and baseline sit on its anchor, with its dot centred there.
void DrawMapSymbol(QPainter& painter, const MapSymbol& symbol) {
    const QPoint anchor(symbol.anchor.x + kChartLeft, symbol.anchor.y);
    if (symbol.dot != MapSymbol::Dot::None) {
        const char* picture = symbol.dot == MapSymbol::Dot::Preset ? kPicturePreset : kPictureStored;
        DrawBitmap(painter, picture, anchor.x() - 2, anchor.y() - 2, 5, 5);
    }
    if (symbol.symbol == 0)
        return;
    const QString text = QString::fromUtf8(SymbolToUtf8(symbol.symbol));
    const int width = QFontMetrics(painter.font()).horizontalAdvance(text);
    painter.drawText(anchor.x() - width, anchor.y(), text);
}

void DrawGrayMap(QPainter& painter, const ChartState& state, const ChartLook& look) {
    if (!look.hasSymbolFont) {
        const QPixmap picture(PictureResource(kPictureGrayMap));
        painter.drawPixmap(51, 1, picture);
        return;
    }
    const QPen previous = painter.pen();
    painter.setPen(kLightGrey);
    for (const MapSymbol& symbol : state.SymbolsOf(ChartMap::Gray))
        DrawMapSymbol(painter, symbol);
    painter.setPen(previous);
}

// The diphthong's line and end point, the circle point and the selected point.
void DrawSelection(QPainter& painter, const ChartState& state) {
    if (!state.HasPoint())
        return;
    const ChartPoint point = state.SelectedPoint();
    const ChartPoint end = state.DiphthongPoint();
    if (state.IsDiphthongMode() && end.x > 0) {
        painter.setPen(QPen(Qt::black, 0));
        painter.drawLine(point.x + kChartLeft, point.y, end.x + kChartLeft, end.y);
        DrawBitmap(painter, kPictureEndPoint, end.x + 46, end.y - 4, 8, 8);
    }
    if (state.IsCircleMode()) {
        const ChartPoint offset = state.CircleOffsets();
        DrawBitmap(painter, kPictureEndPoint, point.x - offset.x + 46, point.y - offset.y - 4, 8,
                   8);
    }
    DrawBitmap(painter, kPictureSelectedPoint, point.x + 46, point.y - 4, 8, 8);
}

} // namespace

// The pictures live in a static library: their registration must be pulled in by hand.
static void RegisterPictures() {
    static const bool registered = [] {
        Q_INIT_RESOURCE(view);
        return true;
    }();
    (void)registered;
}

QString PictureResource(const char* picture) {
    RegisterPictures();
    return QStringLiteral(":/view/%1.png").arg(QLatin1StringView(picture));
}

void DrawBitmap(QPainter& painter, const char* picture, int x, int y, int cx, int cy) {
    const QPixmap pixmap(PictureResource(picture));
    painter.drawPixmap(x, y, pixmap, 0, 0, cx, cy);
}

void DrawChart(QPainter& painter, const ChartState& state, const ChartLook& look) {
    DrawChartFrame(painter);
    if (state.ShowsGrid() && state.IsZoomed())
        DrawGrid(painter, state.GridWidth());
    painter.setFont(look.symbolFont);
    painter.setPen(Qt::black);
    if (state.Shows(ChartMap::Gray))
        DrawGrayMap(painter, state, look);
    // Drawn one over the other in this order.
    for (ChartMap map : {ChartMap::Formant, ChartMap::User, ChartMap::Modified}) {
        if (state.Shows(map)) {
            for (const MapSymbol& symbol : state.SymbolsOf(map))
                DrawMapSymbol(painter, symbol);
        }
    }
    DrawSelection(painter, state);
}
