// The chart as a figure of its own: an SVG or PDF drawing, or a PNG picture.
#pragma once

#include <QByteArray>

#include <string>

class ChartState;
struct ChartLook;

enum class FigureFormat { Unknown, Svg, Pdf, Png };

// The format a file name asks for by its extension (.svg, .pdf or .png, in any case).
FigureFormat FigureFormatOfName(const std::string& path);

// A PNG figure has this many pixels for each of the chart's.
constexpr int kPngFigureScale = 2;

// Draws the chart as the window shows it, and only the chart (its 380 x 385 pixels, without
// the controls beside it), with DrawChart: an SVG drawing of 380 x 385 pixels, a PDF page of
// 380 x 385 points, or a PNG picture of 760 x 770 pixels on white. In SVG and PDF the
// symbols and labels stay text in their fonts. The reference vowels shown are named in the
// figure's description. Empty for an unknown format.
QByteArray DrawChartFigure(const ChartState& state, const ChartLook& look, FigureFormat format);

// Writes the figure that the name's extension asks for to path, replacing an existing file
// only once the new one is complete. False with a whole message in problem when the name
// has no known extension or the file cannot be written.
bool WriteChartFigure(const std::string& path, const ChartState& state, const ChartLook& look,
                      std::string& problem);
