// Paints the chart: frame, F3 area, zoom grid, the four symbol maps and the markers.
#include "view/TundrelView.h"

#include "doc/TundrelDoc.h"
#include "doc/VowelInventory.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPixmap>

namespace {

const QColor kLightGrey(192, 192, 192);
const QRect kF3Area(430, 172, 40, 193); // (430, 172, 470, 365)

// The chart: a one-pixel black frame covering x 50..429 and y 0..384 around white.
void DrawChartFrame(QPainter& painter) {
    const QRect chart(kChartLeft, kChartTop, kChartWidth, kChartHeight);
    painter.fillRect(chart, Qt::white);
    painter.setPen(QPen(Qt::black, 0));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(chart.adjusted(0, 0, -1, -1));
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

void CTundrelView::OnDraw(QPainter& painter) {
    DrawChartFrame(painter);
    if (!m_bAdvanced)
        painter.fillRect(kF3Area, kLightGrey);
    if (m_bShowGrid && m_bZoom)
        DrawGrid(painter);
    painter.setFont(m_symbolFont);
    painter.setPen(Qt::black);
    if (m_bGrayMap)
        DrawGrayMap(painter);
    if (m_bFormantMap)
        DrawFormantMap(painter);
    if (m_bUserMap)
        DrawUserMap(painter);
    if (m_bModifiedMap)
        DrawModifiedMap(painter);
    DrawSelection(painter);
}

// Grid lines every m_nGridWidth pixels; each line stops one pixel short of its end point.
void CTundrelView::DrawGrid(QPainter& painter) {
    const int g = m_nGridWidth > 0 ? m_nGridWidth : 1;
    painter.setPen(QPen(kLightGrey, 0));
    for (int x = kChartLeft + g; x < kChartRight; x += g)
        painter.drawLine(x, 1, x, kChartBottom - 2);
    for (int y = kChartTop + g; y < kChartBottom; y += g)
        painter.drawLine(1, y, kChartRight - 2, y);
    painter.setPen(QPen(Qt::black, 0));
}

QPoint CTundrelView::Anchor(int f1, int f2) const {
    const ChartScale scale = Scale();
    return QPoint(FrequencyToX(scale, f1) + kChartLeft, FrequencyToY(scale, f2));
}

// The symbol's right edge and baseline sit on the anchor of (f1, f2).
void CTundrelView::DrawSymbol(QPainter& painter, const char* symbol, int f1, int f2) {
    if (!symbol || !symbol[0])
        return;
    const QString text = QString::fromUtf8(SymbolToUtf8(static_cast<unsigned char>(symbol[0])));
    const QPoint anchor = Anchor(f1, f2);
    const int width = QFontMetrics(painter.font()).horizontalAdvance(text);
    painter.drawText(anchor.x() - width, anchor.y(), text);
}

void CTundrelView::DrawGrayMap(QPainter& painter) {
    if (!m_bSymbolFont) {
        const QPixmap picture(PictureResource(kPictureGrayMap));
        painter.drawPixmap(51, 1, picture);
        return;
    }
    const QPen previous = painter.pen();
    painter.setPen(kLightGrey);
    for (int type = 0; type < kTypeCount; ++type) {
        for (int position = 0; position < kPositionsPerType; ++position) {
            const VowelEntry& record = kPresetVowels[m_nGender][type][position];
            DrawSymbol(painter, record.symbol, record.f1, record.f2);
        }
    }
    painter.setPen(previous);
}

void CTundrelView::DrawFormantMap(QPainter& painter) {
    for (const VowelEntry* record = PresetTable(); record->f1 != 0; ++record) {
        const QPoint anchor = Anchor(record->f1, record->f2);
        DrawBitmap(painter, kPicturePreset, anchor.x() - 2, anchor.y() - 2, 5, 5);
        DrawSymbol(painter, record->symbol, record->f1, record->f2);
    }
}

void CTundrelView::DrawUserMap(QPainter& painter) {
    const VowelEntry* table = PresetTable();
    for (int position = 0; table[position].f1 != 0; ++position) {
        const int slot = SlotOf(m_nVowelType, position);
        const int f1 = m_pDoc->GetEntryF1(slot, m_nGender, m_nVowelSet);
        const int f2 = m_pDoc->GetEntryF2(slot, m_nGender, m_nVowelSet);
        const QPoint anchor = Anchor(f1, f2);
        DrawBitmap(painter, kPictureStored, anchor.x() - 2, anchor.y() - 2, 5, 5);
        DrawSymbol(painter, table[position].symbol, f1, f2);
    }
}

void CTundrelView::DrawModifiedMap(QPainter& painter) {
    for (int type = 0; type < kTypeCount; ++type) {
        for (int position = 0; position < kPositionsPerType; ++position) {
            const int slot = SlotOf(type, position);
            if (!m_pDoc->IsEntryModified(slot, m_nGender, m_nVowelSet))
                continue;
            const int f1 = m_pDoc->GetEntryF1(slot, m_nGender, m_nVowelSet);
            const int f2 = m_pDoc->GetEntryF2(slot, m_nGender, m_nVowelSet);
            const QPoint anchor = Anchor(f1, f2);
            DrawBitmap(painter, kPictureStored, anchor.x() - 2, anchor.y() - 2, 5, 5);
            DrawSymbol(painter, kPresetVowels[kMale][type][position].symbol, f1, f2);
        }
    }
}
