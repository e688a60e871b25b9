#include "drawing/ResultsFigure.h"

#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace {

const QSize kFigure(kResultsFigureWidth, kResultsFigureHeight);
// The plotting area inside the figure: room for the axes' numbers and the counts.
const QRectF kPlot(56, 36, kResultsFigureWidth - 56 - 110, kResultsFigureHeight - 36 - 62);

// Colours that stay apart in print and for most colour-blind readers.
const QColor kLabelColours[] = {QColor(0, 114, 178),   QColor(213, 94, 0),   QColor(0, 158, 115),
                                QColor(204, 121, 167), QColor(86, 180, 233), QColor(230, 159, 0),
                                QColor(0, 0, 0),       QColor(120, 120, 120)};

QString Title(const std::string& participant) {
    return participant == kPooledParticipant ? QStringLiteral("Identification, all participants")
                                             : QStringLiteral("Identification, participant ") +
                                                   QString::fromStdString(participant);
}

QString Description(const std::string& participant) {
    return Title(participant) + QStringLiteral(", drawn by Quirnel.");
}

QFont FigureFont(double pixels) {
    QFont font;
    font.setStyleHint(QFont::SansSerif);
    font.setFamilies({QStringLiteral("Doulos SIL"), QStringLiteral("DejaVu Sans")});
    font.setPixelSize(static_cast<int>(pixels));
    return font;
}

} // namespace

void DrawIdentificationCurves(QPainter& painter, const std::vector<LabelCurve>& all,
                              const std::string& participant) {
    std::vector<const LabelCurve*> curves;
    double first = INFINITY, last = -INFINITY;
    for (const LabelCurve& curve : all) {
        if (curve.participant != participant)
            continue;
        curves.push_back(&curve);
        for (const StepCount& count : curve.counts)
            first = std::min(first, count.x), last = std::max(last, count.x);
    }
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(QRectF(QPointF(), QSizeF(kFigure)), Qt::white);
    painter.setPen(Qt::black);
    painter.setFont(FigureFont(15));
    painter.drawText(QRectF(0, 6, kFigure.width(), 24), Qt::AlignCenter, Title(participant));
    if (curves.empty() || !(last > first)) {
        painter.drawText(kPlot, Qt::AlignCenter, QStringLiteral("No identification answers"));
        return;
    }
    const double margin = 0.4;
    auto toX = [&](double step) {
        return kPlot.left() + (step - first + margin) / (last - first + 2 * margin) * kPlot.width();
    };
    auto toY = [&](double p) { return kPlot.bottom() - p * kPlot.height(); };

    // Axes: proportion 0 to 1 on the left, the steps below with each step's count.
    painter.setFont(FigureFont(11));
    painter.setPen(QPen(QColor(210, 210, 210), 0.8));
    for (double p : {0.25, 0.5, 0.75})
        painter.drawLine(QPointF(kPlot.left(), toY(p)), QPointF(kPlot.right(), toY(p)));
    painter.setPen(QPen(Qt::black, 1));
    painter.drawRect(kPlot);
    for (int tick = 0; tick <= 4; ++tick) {
        const double p = tick / 4.0;
        painter.drawLine(QPointF(kPlot.left() - 4, toY(p)), QPointF(kPlot.left(), toY(p)));
        painter.drawText(QRectF(0, toY(p) - 8, kPlot.left() - 7, 16),
                         Qt::AlignRight | Qt::AlignVCenter, QString::number(p, 'g', 2));
    }
    const std::vector<StepCount>& counted = curves.front()->counts;
    for (const StepCount& count : counted) {
        const double x = toX(count.x);
        painter.drawLine(QPointF(x, kPlot.bottom()), QPointF(x, kPlot.bottom() + 4));
        painter.drawText(QRectF(x - 20, kPlot.bottom() + 5, 40, 14), Qt::AlignCenter,
                         QString::number(count.x, 'g', 4));
        painter.setPen(QColor(110, 110, 110));
        painter.drawText(QRectF(x - 20, kPlot.bottom() + 19, 40, 14), Qt::AlignCenter,
                         QStringLiteral("n=%1").arg(count.trials));
        painter.setPen(Qt::black);
    }
    painter.drawText(QRectF(kPlot.left(), kPlot.bottom() + 36, kPlot.width(), 18), Qt::AlignCenter,
                     QStringLiteral("Step"));
    painter.save();
    painter.translate(14, kPlot.center().y());
    painter.rotate(-90);
    painter.drawText(QRectF(-80, -9, 160, 18), Qt::AlignCenter, QStringLiteral("Proportion"));
    painter.restore();

    for (size_t i = 0; i < curves.size(); ++i) {
        const LabelCurve& curve = *curves[i];
        const QColor colour = kLabelColours[i % std::size(kLabelColours)];
        painter.setClipRect(kPlot.adjusted(-5, -5, 5, 5));
        if (curve.fit.slopeEstimable) {
            QPainterPath path;
            for (int k = 0; k <= 200; ++k) {
                const double step = first - margin + (last - first + 2 * margin) * k / 200.0;
                const double p =
                    1 / (1 + std::exp(-(curve.fit.intercept + curve.fit.slope * step)));
                const QPointF at(toX(step), toY(p));
                k ? path.lineTo(at) : path.moveTo(at);
            }
            painter.setPen(QPen(colour, 1.8));
            painter.setBrush(Qt::NoBrush);
            painter.drawPath(path);
        }
        if (curve.fit.hasBoundary) {
            painter.setPen(QPen(colour, 1, Qt::DashLine));
            painter.drawLine(QPointF(toX(curve.fit.boundary), kPlot.top()),
                             QPointF(toX(curve.fit.boundary), kPlot.bottom()));
        }
        painter.setPen(QPen(colour, 1));
        painter.setBrush(colour);
        for (const StepCount& count : curve.counts)
            painter.drawEllipse(QPointF(toX(count.x), toY(double(count.chosen) / count.trials)),
                                3.5, 3.5);
        painter.setClipping(false);
        // The legend: the label, and its boundary in steps.
        const double y = kPlot.top() + 8 + 36 * static_cast<double>(i);
        painter.drawEllipse(QPointF(kPlot.right() + 16, y), 3.5, 3.5);
        painter.setPen(Qt::black);
        painter.setFont(FigureFont(14));
        painter.drawText(QRectF(kPlot.right() + 26, y - 10, 80, 20),
                         Qt::AlignLeft | Qt::AlignVCenter, QString::fromStdString(curve.label));
        painter.setFont(FigureFont(10));
        painter.drawText(
            QRectF(kPlot.right() + 12, y + 8, 96, 14), Qt::AlignLeft | Qt::AlignVCenter,
            curve.fit.hasBoundary ? QStringLiteral("50 %: %1").arg(curve.fit.boundary, 0, 'f', 2)
                                  : QStringLiteral("no boundary"));
    }
}

QByteArray DrawResultsFigure(const std::vector<LabelCurve>& curves, const std::string& participant,
                             FigureFormat format) {
    return FigureBytes(
        {kFigure, Title(participant), Description(participant),
         [&](QPainter& painter) { DrawIdentificationCurves(painter, curves, participant); }},
        format);
}

bool WriteResultsFigure(const std::string& path, const std::vector<LabelCurve>& curves,
                        const std::string& participant, std::string& problem) {
    return WriteFigureFile(
        path, "the identification curves",
        [&](FigureFormat format) { return DrawResultsFigure(curves, participant, format); },
        problem);
}
