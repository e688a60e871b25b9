// Draws the spectrum of a vowel (spectrum/VowelSpectrum.h) onto any painter, in the chart's
// fonts and colours, and writes it as an SVG, PDF or PNG figure.
#pragma once

#include "drawing/ChartFigure.h"

#include <QByteArray>
#include <QRectF>
#include <QSize>

#include <string>

struct ChartLook;
struct VowelSpectrum;
class QPainter;

// How the spectrum is shown: with or without the source, on a linear or logarithmic
// frequency axis, and the fixed range of levels (topDb down to topDb - rangeDb).
struct SpectrumOptions {
    bool showSource = true;
    bool logFrequency = false;
    int topDb = 0;
    int rangeDb = 90;
};

// The accepted ranges of the level axis.
constexpr int kSpectrumTopDbMin = -60, kSpectrumTopDbMax = 20;
constexpr int kSpectrumRangeDbMin = 20, kSpectrumRangeDbMax = 160;

// The lowest frequency of the logarithmic axis.
constexpr double kSpectrumLogLowHz = 50.0;

// The filter's own scale, on the right: 0 dB of the filter lies this far below the top.
constexpr int kFilterAxisHeadroomDb = 40;

// The size of the figure: a spectrum, and below it a spectrogram for a diphthong.
QSize SpectrumFigureSize(const VowelSpectrum& spectrum);

// Draws the spectrum into area: the sound's harmonics as lines over its spectrum, the
// filter's response on a scale of its own (right), the source's harmonics when shown,
// markers at F1-F3 with their values and A1-A3 as numbers; for a diphthong the area's lower
// part holds the spectrogram of the glide with the formants' paths.
void DrawSpectrum(QPainter& painter, const QRectF& area, const VowelSpectrum& spectrum,
                  const SpectrumOptions& options, const ChartLook& look);

// The figure in the given format (a PNG has kPngFigureScale pixels for each of the
// figure's); empty for an unknown format.
QByteArray DrawSpectrumFigure(const VowelSpectrum& spectrum, const SpectrumOptions& options,
                              const ChartLook& look, FigureFormat format);

// Writes the figure the name's extension asks for, replacing an existing file only once the
// new one is complete; false with a whole message in problem.
bool WriteSpectrumFigure(const std::string& path, const VowelSpectrum& spectrum,
                         const SpectrumOptions& options, const ChartLook& look,
                         std::string& problem);
