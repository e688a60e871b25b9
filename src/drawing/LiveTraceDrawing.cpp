#include "drawing/LiveTraceDrawing.h"

#include <QPainter>
#include <QPolygonF>

void DrawLiveTrace(QPainter& painter, const LiveTrace& live, const ChartScale& scale) {
    if (live.IsEmpty())
        return;
    painter.save();
    painter.setClipRect(QRectF(kChartLeft, kChartTop, kChartWidth, kChartHeight));
    painter.setRenderHint(QPainter::Antialiasing, true);
    const auto client = [](ChartPointF point) { return QPointF(point.x + kChartLeft, point.y); };
    for (const std::vector<LiveTracePoint>& piece : live.Trace(scale))
        for (size_t i = 1; i < piece.size(); ++i) {
            QColor colour = kLiveColour;
            colour.setAlphaF(static_cast<float>(piece[i].strength));
            painter.setPen(QPen(colour, 2, Qt::SolidLine, Qt::RoundCap));
            painter.drawLine(client(piece[i - 1].at), client(piece[i].at));
        }
    if (const std::optional<LiveTracePoint> dot = live.Dot(scale)) {
        QColor fill = kLiveColour;
        fill.setAlphaF(static_cast<float>(dot->strength));
        QColor ring = Qt::black;
        ring.setAlphaF(static_cast<float>(dot->strength));
        painter.setBrush(fill);
        painter.setPen(QPen(ring, 1.5));
        painter.drawEllipse(client(dot->at), 7.0, 7.0);
    }
    painter.restore();
}
