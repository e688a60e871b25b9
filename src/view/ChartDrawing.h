// Draws the vowel chart of a ChartState onto any painter.
#pragma once

#include <QFont>
#include <QString>

class ChartState;
class QPainter;

// What the drawing takes besides the state: the font of the vowel symbols, and whether it
// has their IPA glyphs (without them the Gray Map is drawn from its picture).
struct ChartLook {
    QFont symbolFont;
    bool hasSymbolFont = false;
};

// Draws the chart in client coordinates (the chart at (50, 0, 430, 385)): the frame, the
// zoom grid, the symbol maps and the markers of the selected point, the diphthong's end
// point and the circle point. Reads the state only; the view paints itself with it.
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
