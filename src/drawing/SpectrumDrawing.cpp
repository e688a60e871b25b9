#include "drawing/SpectrumDrawing.h"

#include "drawing/ChartDrawing.h"
#include "spectrum/VowelSpectrum.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kFigureWidth = 600;
constexpr int kSpectrumHeight = 340;
constexpr int kSpectrogramHeight = 220;

const QColor kSoundColour(0, 0, 0);
const QColor kSpectrumColour(170, 170, 170);
const QColor kFilterColour(200, 0, 0);
const QColor kSourceColour(0, 130, 0);
const QColor kFormantColour(0, 0, 200);

// Maps frequencies and levels to the plot's rectangle.
class PlotScale {
public:
    PlotScale(const QRectF& plot, const SpectrumOptions& options)
        : m_plot(plot), m_log(options.logFrequency), m_topDb(options.topDb),
          m_rangeDb(std::max(1, options.rangeDb)) {}

    double X(double hz) const {
        double fraction = hz / kSpectrumTopHz;
        if (m_log)
            fraction = std::log(std::max(hz, kSpectrumLogLowHz) / kSpectrumLogLowHz) /
                       std::log(kSpectrumTopHz / kSpectrumLogLowHz);
        return m_plot.left() + fraction * m_plot.width();
    }
    double Y(double db) const {
        const double fraction = (m_topDb - db) / m_rangeDb;
        return m_plot.top() + std::clamp(fraction, 0.0, 1.0) * m_plot.height();
    }
    double LowHz() const { return m_log ? kSpectrumLogLowHz : 0.0; }
    int TopDb() const { return m_topDb; }
    int BottomDb() const { return m_topDb - m_rangeDb; }
    const QRectF& Plot() const { return m_plot; }

private:
    QRectF m_plot;
    bool m_log;
    int m_topDb, m_rangeDb;
};

QString Number(double value, int decimals = 0) {
    return QString::number(value, 'f', decimals).replace('-', QChar(0x2212));
}

void DrawText(QPainter& painter, const QPointF& at, const QString& text, Qt::Alignment align) {
    const QRectF box(at.x() - 200, at.y() - 50, 400, 100);
    QRectF placed = box;
    if (align & Qt::AlignLeft)
        placed.moveLeft(at.x());
    if (align & Qt::AlignRight)
        placed.moveRight(at.x());
    if (align & Qt::AlignTop)
        placed.moveTop(at.y());
    if (align & Qt::AlignBottom)
        placed.moveBottom(at.y());
    painter.drawText(placed, static_cast<int>(align), text);
}

// Frequencies where the axis has a tick: every kHz (and 500 Hz) on the linear axis, 1-2-5
// steps on the logarithmic one.
std::vector<double> FrequencyTicks(bool log) {
    if (log)
        return {50, 100, 200, 500, 1000, 2000, 5000};
    std::vector<double> ticks;
    for (int hz = 0; hz <= 5000; hz += 500)
        ticks.push_back(hz);
    return ticks;
}

void DrawAxes(QPainter& painter, const PlotScale& scale, const VowelSpectrum& spectrum,
              const SpectrumOptions& options) {
    const QRectF& plot = scale.Plot();
    painter.setPen(QPen(kAxisLabelColour, 0.5, Qt::DotLine));
    for (double hz : FrequencyTicks(options.logFrequency))
        painter.drawLine(QPointF(scale.X(hz), plot.top()), QPointF(scale.X(hz), plot.bottom()));
    const int step = options.rangeDb > 80 ? 20 : 10;
    const int firstDb = static_cast<int>(std::ceil(scale.BottomDb() / double(step))) * step;
    for (int db = firstDb; db <= scale.TopDb(); db += step)
        painter.drawLine(QPointF(plot.left(), scale.Y(db)), QPointF(plot.right(), scale.Y(db)));
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(plot);

    painter.setPen(Qt::black);
    for (double hz : FrequencyTicks(options.logFrequency))
        DrawText(painter, QPointF(scale.X(hz), plot.bottom() + 2), Number(hz),
                 Qt::AlignHCenter | Qt::AlignTop);
    DrawText(painter, QPointF(plot.center().x(), plot.bottom() + 16), "Frequency (Hz)",
             Qt::AlignHCenter | Qt::AlignTop);
    for (int db = firstDb; db <= scale.TopDb(); db += step)
        DrawText(painter, QPointF(plot.left() - 4, scale.Y(db)), Number(db),
                 Qt::AlignRight | Qt::AlignVCenter);
    painter.save();
    painter.translate(plot.left() - 34, plot.center().y());
    painter.rotate(-90);
    DrawText(painter, QPointF(0, 0), "Level (dB)", Qt::AlignHCenter | Qt::AlignBottom);
    painter.restore();
    if (!spectrum.synthesized)
        return;
    // The filter's scale: its 0 dB lies kFilterAxisHeadroomDb below the top.
    painter.setPen(kFilterColour);
    const int offset = scale.TopDb() - kFilterAxisHeadroomDb;
    for (int db = firstDb; db <= scale.TopDb(); db += step)
        DrawText(painter, QPointF(plot.right() + 4, scale.Y(db)), Number(db - offset),
                 Qt::AlignLeft | Qt::AlignVCenter);
    painter.save();
    painter.translate(plot.right() + 34, plot.center().y());
    painter.rotate(90);
    DrawText(painter, QPointF(0, 0), "Filter (dB)", Qt::AlignHCenter | Qt::AlignBottom);
    painter.restore();
}

// The curve through the levels, with at most the lowest and the highest level of each
// pixel column (a spectrum has some thousand points, the plot some hundred columns), so
// that drawing stays quick and no peak is lost.
QPainterPath Curve(const PlotScale& scale, const std::vector<double>& db, double binHz,
                   double shiftDb) {
    QPainterPath path;
    auto add = [&path](const QPointF& point) {
        if (path.elementCount())
            path.lineTo(point);
        else
            path.moveTo(point);
    };
    size_t k = 0;
    while (k < db.size() && static_cast<double>(k) * binHz < scale.LowHz())
        ++k;
    while (k < db.size()) {
        const double column = std::floor(scale.X(static_cast<double>(k) * binHz));
        double low = db[k], high = db[k];
        size_t lowAt = k, highAt = k;
        size_t next = k + 1;
        for (; next < db.size() && std::floor(scale.X(static_cast<double>(next) * binHz)) == column;
             ++next) {
            if (db[next] < low) {
                low = db[next];
                lowAt = next;
            }
            if (db[next] > high) {
                high = db[next];
                highAt = next;
            }
        }
        const QPointF lowPoint(scale.X(static_cast<double>(lowAt) * binHz), scale.Y(low + shiftDb));
        const QPointF highPoint(scale.X(static_cast<double>(highAt) * binHz),
                                scale.Y(high + shiftDb));
        add(lowAt <= highAt ? lowPoint : highPoint);
        if (lowAt != highAt)
            add(lowAt <= highAt ? highPoint : lowPoint);
        k = next;
    }
    return path;
}

void DrawCurves(QPainter& painter, const PlotScale& scale, const VowelSpectrum& spectrum,
                const SpectrumOptions& options) {
    painter.save();
    painter.setClipRect(scale.Plot());
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(kSpectrumColour, 0.6));
    painter.drawPath(Curve(scale, spectrum.soundDb, spectrum.binHz, 0));
    painter.setPen(QPen(kSoundColour, 1.4));
    for (const Harmonic& h : spectrum.harmonics)
        if (h.hz >= scale.LowHz())
            painter.drawLine(QPointF(scale.X(h.hz), scale.Plot().bottom()),
                             QPointF(scale.X(h.hz), scale.Y(h.soundDb)));
    if (spectrum.synthesized && options.showSource) {
        QPainterPath source;
        for (const Harmonic& h : spectrum.harmonics) {
            if (h.hz < scale.LowHz())
                continue;
            const QPointF point(scale.X(h.hz), scale.Y(h.sourceDb));
            source.elementCount() ? source.lineTo(point) : source.moveTo(point);
        }
        painter.setPen(QPen(kSourceColour, 1.2, Qt::DashLine));
        painter.drawPath(source);
    }
    if (spectrum.synthesized) {
        painter.setPen(QPen(kFilterColour, 1.6));
        painter.drawPath(
            Curve(scale, spectrum.filterDb, spectrum.binHz, scale.TopDb() - kFilterAxisHeadroomDb));
    }
    painter.restore();
}

void DrawFormantMarkers(QPainter& painter, const PlotScale& scale, const VowelSpectrum& spectrum) {
    const QRectF& plot = scale.Plot();
    for (size_t n = 0; n < spectrum.formants.size(); ++n) {
        const int hz = spectrum.formants[n];
        if (hz <= scale.LowHz() || hz > kSpectrumTopHz)
            continue;
        painter.setPen(QPen(kFormantColour, 0.8, Qt::DashLine));
        painter.drawLine(QPointF(scale.X(hz), plot.top()), QPointF(scale.X(hz), plot.bottom()));
        painter.setPen(kFormantColour);
        DrawText(painter, QPointF(scale.X(hz), plot.top() - 1),
                 QStringLiteral("F%1 %2").arg(n + 1).arg(hz), Qt::AlignHCenter | Qt::AlignBottom);
    }
}

// A1-A3 and F0 as numbers, top left inside the plot.
void DrawLevels(QPainter& painter, const PlotScale& scale, const VowelSpectrum& spectrum) {
    QStringList lines;
    if (spectrum.f0Hz > 0)
        lines << QStringLiteral("F0 %1 Hz").arg(Number(spectrum.f0Hz));
    for (size_t n = 0; n < spectrum.levels.size(); ++n)
        if (spectrum.levels[n].harmonicHz > 0)
            lines << QStringLiteral("A%1 %2 dB").arg(n + 1).arg(Number(spectrum.levels[n].db, 1));
    if (!spectrum.synthesized)
        lines << "Recording";
    painter.setPen(Qt::black);
    DrawText(painter, scale.Plot().topRight() + QPointF(-6, 4), lines.join('\n'),
             Qt::AlignRight | Qt::AlignTop);
}

void DrawSpectrogram(QPainter& painter, const QRectF& area, const VowelSpectrum& spectrum,
                     const ChartLook& look) {
    const Spectrogram& gram = spectrum.spectrogram;
    if (gram.columns.empty())
        return;
    const QRectF plot = area.adjusted(50, 8, -50, -36);
    const int rows = static_cast<int>(gram.columns.front().size());
    float loudest = -200;
    for (const auto& column : gram.columns)
        for (float db : column)
            loudest = std::max(loudest, db);
    // Grey from white (50 dB below the loudest point) to black (the loudest).
    QImage image(static_cast<int>(gram.columns.size()), rows, QImage::Format_RGB32);
    for (int c = 0; c < image.width(); ++c)
        for (int r = 0; r < rows; ++r) {
            const double level = std::clamp((gram.columns[c][r] - loudest + 50) / 50.0, 0.0, 1.0);
            const int grey = static_cast<int>(255 * (1 - level));
            image.setPixel(c, rows - 1 - r, qRgb(grey, grey, grey));
        }
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(plot, image);
    painter.restore();
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(plot);
    const double duration = std::max(spectrum.durationS, 1e-6);
    auto x = [&](double s) { return plot.left() + s / duration * plot.width(); };
    auto y = [&](double hz) { return plot.bottom() - hz / kSpectrumTopHz * plot.height(); };
    painter.setPen(QPen(kFilterColour, 1.6));
    for (size_t n = 0; n < 3; ++n) {
        QPainterPath path;
        for (const FormantStep& step : spectrum.formantPaths) {
            const QPointF from(x(step.startS), y(step.hz[n])), to(x(step.endS), y(step.hz[n]));
            path.elementCount() ? path.lineTo(from) : path.moveTo(from);
            path.lineTo(to);
        }
        painter.drawPath(path);
    }
    painter.setFont(look.labelFont);
    painter.setPen(Qt::black);
    for (int hz = 0; hz <= 5000; hz += 1000)
        DrawText(painter, QPointF(plot.left() - 4, y(hz)), Number(hz),
                 Qt::AlignRight | Qt::AlignVCenter);
    painter.save();
    painter.translate(plot.left() - 34, plot.center().y());
    painter.rotate(-90);
    DrawText(painter, QPointF(0, 0), "Frequency (Hz)", Qt::AlignHCenter | Qt::AlignBottom);
    painter.restore();
    const double stepS = duration > 0.2 ? 0.1 : duration > 0.05 ? 0.02 : 0.005;
    for (double s = 0; s <= duration + 1e-9; s += stepS)
        DrawText(painter, QPointF(x(s), plot.bottom() + 2), Number(s * 1000),
                 Qt::AlignHCenter | Qt::AlignTop);
    DrawText(painter, QPointF(plot.center().x(), plot.bottom() + 16),
             "Time (ms); the glide's F1, F2 and F3 in red", Qt::AlignHCenter | Qt::AlignTop);
}

QString Description(const VowelSpectrum& spectrum) {
    if (!spectrum.synthesized)
        return QStringLiteral("Spectrum of a recording, drawn by Quirnel.");
    return QStringLiteral("Spectrum of a vowel (F1 %1, F2 %2, F3 %3 Hz) drawn by Quirnel: "
                          "sound, filter and source.")
        .arg(spectrum.formants[0])
        .arg(spectrum.formants[1])
        .arg(spectrum.formants[2]);
}

} // namespace

QSize SpectrumFigureSize(const VowelSpectrum& spectrum) {
    const bool gram = spectrum.diphthong && !spectrum.spectrogram.columns.empty();
    return QSize(kFigureWidth, kSpectrumHeight + (gram ? kSpectrogramHeight : 0));
}

void DrawSpectrum(QPainter& painter, const QRectF& area, const VowelSpectrum& spectrum,
                  const SpectrumOptions& options, const ChartLook& look) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setFont(look.labelFont);
    const bool gram = spectrum.diphthong && !spectrum.spectrogram.columns.empty();
    const double spectrumShare =
        gram ? double(kSpectrumHeight) / (kSpectrumHeight + kSpectrogramHeight) : 1.0;
    const QRectF top(area.topLeft(), QSizeF(area.width(), area.height() * spectrumShare));
    const PlotScale scale(top.adjusted(50, 22, -50, -36), options);
    DrawAxes(painter, scale, spectrum, options);
    DrawCurves(painter, scale, spectrum, options);
    if (spectrum.synthesized)
        DrawFormantMarkers(painter, scale, spectrum);
    DrawLevels(painter, scale, spectrum);
    if (gram)
        DrawSpectrogram(painter, QRectF(top.bottomLeft(), area.bottomRight()), spectrum, look);
    painter.restore();
}

QByteArray DrawSpectrumFigure(const VowelSpectrum& spectrum, const SpectrumOptions& options,
                              const ChartLook& look, FigureFormat format) {
    const QSize size = SpectrumFigureSize(spectrum);
    return FigureBytes({size, QStringLiteral("Vowel spectrum"), Description(spectrum),
                        [&](QPainter& painter) {
                            DrawSpectrum(painter, QRectF(QPointF(0, 0), QSizeF(size)), spectrum,
                                         options, look);
                        }},
                       format);
}

bool WriteSpectrumFigure(const std::string& path, const VowelSpectrum& spectrum,
                         const SpectrumOptions& options, const ChartLook& look,
                         std::string& problem) {
    return WriteFigureFile(
        path, "the spectrum",
        [&](FigureFormat format) { return DrawSpectrumFigure(spectrum, options, look, format); },
        problem);
}
