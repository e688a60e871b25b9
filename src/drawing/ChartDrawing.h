// Draws the vowel chart of a ChartState onto any painter.
#pragma once

#include <QColor>
#include <QFont>
#include <QString>

class ChartState;
class QPainter;

// What the drawing takes besides the state: the font of the vowel symbols, whether it has
// their IPA glyphs (without them the Gray Map is drawn from its picture), and the font of
// the axis labels.
struct ChartLook {
    QFont symbolFont;
    bool hasSymbolFont = false;
    QFont labelFont;
};

// The fonts installed here: the symbol font of ChooseSymbolFont, and a small sans serif
// face, named by the family it resolves to (so that a figure names a real font).
ChartLook ChooseChartLook();

// The colour of the reference vowels and their spread: a dark orange, apart from the black
// symbols, the blue and red dots, the red and green balls and the grey of the Gray Map.
inline const QColor kReferenceColour(200, 100, 0);
// The colour of the recordings of the wave list and their tracks: a violet, apart from the
// presets' blue, the stored red, the end point's green and the reference vowels' orange.
inline const QColor kRecordingColour(140, 40, 180);
// The faint grey of the axis ticks and labels.
inline const QColor kAxisLabelColour(150, 150, 150);

// Draws the chart in client coordinates (the chart at (50, 0, 430, 385)): the frame, the
// zoom grid, the axis labels, the Gray Map, the reference vowels and their spread, the
// other symbol maps and the markers of the selected point, the diphthong's end point and
// the circle point. Reads the state only; the view paints itself with it, and the chart's
// figures (ChartFigure.h) are drawn with it too.
void DrawChart(QPainter& painter, const ChartState& state, const ChartLook& look);

// The marker and map pictures, by their names in the resources (src/res).
constexpr const char* kPictureSelectedPoint = "selected-point"; // red ball, 8 x 8 used
constexpr const char* kPicturePreset = "preset-position";       // blue dot, 5 x 5 used
constexpr const char* kPictureStored = "stored-position";       // red dot, 5 x 5 used
constexpr const char* kPictureEndPoint = "end-point";           // green ball, 8 x 8 used
constexpr const char* kPictureGrayMap = "gray-map"; // every preset symbol in light grey, 378 x 380

// Where a marker or map picture lives in the resources.
QString PictureResource(const char* picture);
// Copies the top-left cx x cy pixels of a picture to (x, y).
void DrawBitmap(QPainter& painter, const char* picture, int x, int y, int cx, int cy);
