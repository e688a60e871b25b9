// The chart as a figure of its own: an SVG or PDF drawing, or a PNG picture.
#pragma once

#include <QByteArray>
#include <QSize>
#include <QString>

#include <functional>
#include <string>

class ChartState;
class QPainter;
struct ChartLook;

enum class FigureFormat { Unknown, Svg, Pdf, Png };

// The format a file name asks for by its extension (.svg, .pdf or .png, in any case).
FigureFormat FigureFormatOfName(const std::string& path);

// A PNG figure has this many pixels for each of the chart's.
constexpr int kPngFigureScale = 2;

// A figure of any kind: its size in pixels (points on a PDF page), its title and
// description (kept in the file), and how it draws itself onto a painter whose origin is
// its top left corner.
struct Figure {
    QSize size;
    QString title;
    QString description;
    std::function<void(QPainter&)> draw;
};

// The figure as an SVG drawing, a PDF page or a PNG picture of kPngFigureScale times its
// pixels on white; empty for an unknown format.
QByteArray FigureBytes(const Figure& figure, FigureFormat format);

// Writes the figure that the name's extension asks for to path, drawn by draw, replacing an
// existing file only once the new one is complete. False with a whole message in problem
// (naming `what` is drawn: "the chart") when the name has no known extension or the file
// cannot be written.
bool WriteFigureFile(const std::string& path, const std::string& what,
                     const std::function<QByteArray(FigureFormat)>& draw, std::string& problem);

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
