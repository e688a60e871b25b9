// Draws the chart's marker pictures and the Gray Map picture into PNG files.
//
// Run once after changing a picture: quirnel-make-pictures <folder> (the pictures are
// committed in src/res and compiled into the view through view.qrc).
#include "chart/ChartGeometry.h"
#include "doc/VowelInventory.h"
#include "drawing/SymbolFont.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QRadialGradient>

#include <cstdio>

namespace {

// A shaded ball on white: light spot at the top left, dark rim.
QImage Ball(int size, QColor light, QColor mid, QColor dark) {
    QImage image(size, size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QRadialGradient gradient(QPointF(size * 0.35, size * 0.35), size * 0.6);
    gradient.setColorAt(0.0, light);
    gradient.setColorAt(0.5, mid);
    gradient.setColorAt(1.0, dark);
    painter.setPen(Qt::NoPen);
    painter.setBrush(gradient);
    painter.drawEllipse(QRectF(0, 0, size, size));
    return image;
}

// Every preset symbol of the male voice in light grey, as the Gray Map draws it with the
// symbol font, cut out of the chart at (51, 1).
QImage GrayMap() {
    QImage image(378, 380, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setFont(ChooseSymbolFont().font);
    painter.setPen(QColor(192, 192, 192));
    const ChartScale scale;
    const QFontMetrics metrics(painter.font());
    for (int type = 0; type < kTypeCount; ++type) {
        for (int position = 0; position < kPositionsPerType; ++position) {
            const VowelEntry& record = kPresetVowels[kMale][type][position];
            const QString text =
                QString::fromUtf8(SymbolToUtf8(static_cast<unsigned char>(record.symbol[0])));
            const int x = FrequencyToX(scale, record.f1) + kChartLeft - 51;
            const int y = FrequencyToY(scale, record.f2) - 1;
            painter.drawText(x - metrics.horizontalAdvance(text), y, text);
        }
    }
    return image;
}

// Saves a picture as <name>.png, the name saying what it shows.
bool Save(const QImage& image, const QString& folder, const char* name) {
    const QString path = QStringLiteral("%1/%2.png").arg(folder, QLatin1StringView(name));
    if (image.save(path))
        return true;
    std::fprintf(stderr, "quirnel-make-pictures: cannot write %s\n", qPrintable(path));
    return false;
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: quirnel-make-pictures FOLDER\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const QColor red[] = {QColor(255, 160, 160), QColor(230, 0, 0), QColor(128, 0, 0)};
    const QColor blue[] = {QColor(150, 170, 255), QColor(0, 0, 230), QColor(0, 0, 120)};
    const QColor green[] = {QColor(170, 255, 170), QColor(0, 190, 0), QColor(0, 100, 0)};
    bool ok = Save(Ball(8, red[0], red[1], red[2]), folder, "selected-point");
    ok &= Save(Ball(5, blue[0], blue[1], blue[2]), folder, "preset-position");
    ok &= Save(Ball(5, red[0], red[1], red[2]), folder, "stored-position");
    ok &= Save(Ball(8, green[0], green[1], green[2]), folder, "end-point");
    ok &= Save(GrayMap(), folder, "gray-map");
    return ok ? 0 : 1;
}
