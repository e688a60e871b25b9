#include "drawing/ChartDrawing.h"

#include "chart/AxisTicks.h"
#include "chart/ChartState.h"
#include "chart/ContinuousScale.h"
#include "chart/SpreadEllipse.h"
#include "doc/VowelInventory.h"
#include "drawing/SymbolFont.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QPainter>
#include <QPixmap>
#include <QPolygonF>

#include <algorithm>
#include <vector>

namespace {

const QColor kLightGrey(192, 192, 192);
// Axis ticks reach this far into the chart; their labels follow beside them.
constexpr double kTickLength = 4;
constexpr int kLabelPixels = 10;
// The reference vowels' symbols: smaller than the presets' and not bold.
constexpr int kReferenceSymbolPixels = 24;

// Inside the chart's frame: what lies beside the chart's own vowels stays there.
QRect ChartInterior() {
    return QRect(kChartLeft + 1, kChartTop + 1, kChartWidth - 2, kChartHeight - 2);
}

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
        const char* picture =
            symbol.dot == MapSymbol::Dot::Preset ? kPicturePreset : kPictureStored;
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

// Ticks along the top edge (F1) and the left edge (F2) with their values; the last label of
// each edge names the unit. Drawn before every symbol, faint, so that none is hidden; a
// label that would run into one drawn before it is left out, its tick stays.
void DrawAxisLabels(QPainter& painter, const ChartState& state, const ChartLook& look) {
    painter.save();
    painter.setClipRect(ChartInterior());
    painter.setPen(QPen(kAxisLabelColour, 0));
    painter.setFont(look.labelFont);
    const QFontMetricsF metrics(look.labelFont, painter.device());
    const ChartScale scale = state.Scale();
    const QRectF interior(ChartInterior());
    const QString unit = QString::fromLatin1(AxisUnit(scale));
    std::vector<QRectF> drawn;
    auto drawLabel = [&](QRectF box, const QString& text) {
        // Kept inside the chart, away from its frame.
        box.moveLeft(
            std::max(interior.left() + 1, std::min(box.left(), interior.right() - box.width())));
        box.moveTop(
            std::max(interior.top() + 1, std::min(box.top(), interior.bottom() - box.height())));
        for (const QRectF& other : drawn) {
            if (other.intersects(box))
                return;
        }
        drawn.push_back(box.adjusted(-2, -1, 2, 1));
        painter.drawText(QPointF(box.left(), box.top() + metrics.ascent()), text);
    };
    const std::vector<AxisTick> f1 = F1AxisTicks(scale);
    for (size_t i = 0; i < f1.size(); ++i) {
        const double x = f1[i].pixel + kChartLeft;
        painter.drawLine(QPointF(x, interior.top()), QPointF(x, interior.top() + kTickLength));
        QString text = QString::fromStdString(f1[i].label);
        if (i + 1 == f1.size())
            text += ' ' + unit;
        const double width = metrics.horizontalAdvance(text);
        drawLabel(QRectF(x - width / 2, interior.top() + kTickLength + 1, width, metrics.height()),
                  text);
    }
    const std::vector<AxisTick> f2 = F2AxisTicks(scale);
    for (size_t i = 0; i < f2.size(); ++i) {
        const double y = f2[i].pixel;
        painter.drawLine(QPointF(interior.left(), y), QPointF(interior.left() + kTickLength, y));
        QString text = QString::fromStdString(f2[i].label);
        if (i + 1 == f2.size())
            text += ' ' + unit;
        drawLabel(QRectF(interior.left() + kTickLength + 2, y - metrics.height() / 2,
                         metrics.horizontalAdvance(text), metrics.height()),
                  text);
    }
    painter.restore();
}

// Each reference vowel's symbol with its ink centred on the vowel's mean, and with the
// spread its ellipse of one standard deviation; clipped to the chart.
void DrawReferenceVowels(QPainter& painter, const ChartState& state, const ChartLook& look) {
    const ReferenceChoice* reference = state.Reference();
    if (!reference)
        return;
    painter.save();
    painter.setClipRect(ChartInterior());
    painter.setRenderHint(QPainter::Antialiasing);
    const ChartScale scale = state.Scale();
    const QRectF interior(ChartInterior());
    if (state.ShowsReferenceSpread()) {
        painter.setPen(QPen(kReferenceColour, 1));
        painter.setBrush(Qt::NoBrush);
        for (const ReferenceVowel& vowel : reference->vowels) {
            const std::optional<SpreadEllipse> spread = SpreadEllipseOf(scale, vowel.f1, vowel.f2);
            // One wholly outside is left out, also of a figure that cannot clip it.
            if (!spread || !interior.intersects(QRectF(spread->x + kChartLeft - spread->major,
                                                       spread->y - spread->major, 2 * spread->major,
                                                       2 * spread->major)))
                continue;
            painter.save();
            painter.translate(spread->x + kChartLeft, spread->y);
            painter.rotate(spread->angle);
            painter.drawEllipse(QPointF(), spread->major, spread->minor);
            painter.restore();
        }
    }
    QFont font = look.symbolFont;
    font.setBold(false);
    font.setPixelSize(kReferenceSymbolPixels);
    painter.setFont(font);
    painter.setPen(kReferenceColour);
    const QFontMetricsF metrics(font, painter.device());
    for (const ReferenceVowel& vowel : reference->vowels) {
        const QString text = QString::fromStdString(vowel.symbol);
        const QPointF mean(FrequencyToXF(scale, vowel.meanF1) + kChartLeft,
                           FrequencyToYF(scale, vowel.meanF2));
        const QRectF ink = metrics.tightBoundingRect(text);
        const QPointF origin = mean - ink.center();
        if (interior.intersects(ink.translated(origin)))
            painter.drawText(origin, text);
    }
    painter.restore();
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

// Each recording of the wave list as a violet diamond at its F1/F2, over its track as a thin
// line; the wave list's selected entry larger, ringed in black.
void DrawRecordings(QPainter& painter, const ChartState& state) {
    const std::vector<RecordingMarker> markers = state.RecordingMarkersShown();
    if (markers.empty())
        return;
    painter.save();
    painter.setClipRect(ChartInterior());
    painter.setRenderHint(QPainter::Antialiasing, true);
    const auto client = [](ChartPointF point) { return QPointF(point.x + kChartLeft, point.y); };
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(kRecordingColour, 1));
    for (const RecordingMarker& marker : markers)
        for (const std::vector<ChartPointF>& piece : marker.track) {
            QPolygonF line;
            for (ChartPointF point : piece)
                line << client(point);
            painter.drawPolyline(line);
        }
    // The selected one last, over the others.
    std::vector<const RecordingMarker*> order;
    for (const RecordingMarker& marker : markers)
        if (!marker.selected)
            order.push_back(&marker);
    for (const RecordingMarker& marker : markers)
        if (marker.selected)
            order.push_back(&marker);
    for (const RecordingMarker* marker : order) {
        const QPointF at = client(marker->at);
        const double r = marker->selected ? 6.5 : 4.5;
        const QPolygonF diamond(
            {at + QPointF(0, -r), at + QPointF(r, 0), at + QPointF(0, r), at + QPointF(-r, 0)});
        painter.setBrush(kRecordingColour);
        painter.setPen(marker->selected ? QPen(Qt::black, 1.5) : QPen(Qt::white, 1));
        painter.drawPolygon(diamond);
    }
    painter.restore();
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

ChartLook ChooseChartLook() {
    ChartLook look;
    const SymbolFontChoice symbolFont = ChooseSymbolFont();
    look.symbolFont = symbolFont.font;
    look.hasSymbolFont = symbolFont.hasIpaGlyphs;
    QFont label;
    label.setStyleHint(QFont::SansSerif);
    label.setFamily(QFontInfo(label).family());
    label.setPixelSize(kLabelPixels);
    look.labelFont = label;
    return look;
}

void DrawChart(QPainter& painter, const ChartState& state, const ChartLook& look) {
    DrawChartFrame(painter);
    if (state.ShowsGrid() && state.IsZoomed())
        DrawGrid(painter, state.GridWidth());
    if (state.ShowsAxisLabels())
        DrawAxisLabels(painter, state, look);
    painter.setFont(look.symbolFont);
    painter.setPen(Qt::black);
    if (state.Shows(ChartMap::Gray))
        DrawGrayMap(painter, state, look);
    DrawReferenceVowels(painter, state, look);
    // Drawn one over the other in this order.
    for (ChartMap map : {ChartMap::Formant, ChartMap::User, ChartMap::Modified}) {
        if (state.Shows(map)) {
            for (const MapSymbol& symbol : state.SymbolsOf(map))
                DrawMapSymbol(painter, symbol);
        }
    }
    DrawRecordings(painter, state);
    DrawSelection(painter, state);
}
