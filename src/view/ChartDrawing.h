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

// The marker and map pictures, by their resource numbers.
constexpr int kPictureSelectedPoint = 139; // red ball, 8 x 8 used
constexpr int kPicturePreset = 140;        // blue dot, 5 x 5 used
constexpr int kPictureStored = 143;        // red dot, 5 x 5 used
constexpr int kPictureEndPoint = 144;      // green ball, 8 x 8 used
constexpr int kPictureGrayMap = 152;       // every preset symbol in light grey, 378 x 380

// Where the marker and map pictures live in the resources, by their numbers.
QString PictureResource(int resourceId);
// Copies the top-left cx x cy pixels of a picture to (x, y).
void DrawBitmap(QPainter& painter, int resourceId, int x, int y, int cx, int cy);
