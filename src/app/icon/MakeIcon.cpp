// Draws the program icon (a vowel trapezoid with a sounding point) as a scalable SVG and as
// PNG pictures of the sizes the desktop's icon theme asks for. Built on demand
// (`cmake --build BUILD --target quirnel-make-icon`) and run once; the pictures are
// committed:
//   QT_QPA_PLATFORM=offscreen BUILD/src/app/quirnel-make-icon data/icons src/app/quirnel.png
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRegularExpression>
#include <QSvgGenerator>

#include <cstdio>

namespace {

constexpr const char* kIconName = "org.quirnel.Quirnel";

// The icon on a 128 × 128 canvas; the painter scales it to the picture's size.
void DrawIcon(QPainter& painter) {
    const int size = 128;
    painter.setRenderHint(QPainter::Antialiasing);

    // Background tile.
    QLinearGradient tile(0, 0, 0, size);
    tile.setColorAt(0, QColor(0x2f, 0x5d, 0x8a));
    tile.setColorAt(1, QColor(0x1b, 0x36, 0x57));
    painter.setBrush(tile);
    painter.setPen(Qt::NoPen);
    painter.drawRoundedRect(QRectF(4, 4, size - 8, size - 8), 22, 22);

    // The vowel trapezoid: front vowels on the left, open vowels at the bottom.
    QPainterPath trapezoid;
    trapezoid.moveTo(22, 26);
    trapezoid.lineTo(106, 26);
    trapezoid.lineTo(106, 100);
    trapezoid.lineTo(58, 100);
    trapezoid.closeSubpath();
    painter.setBrush(QColor(255, 255, 255, 40));
    painter.setPen(QPen(QColor(0xf4, 0xf1, 0xe8), 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(trapezoid);
    painter.setPen(QPen(QColor(0xf4, 0xf1, 0xe8, 150), 3));
    painter.drawLine(QPointF(34, 51), QPointF(106, 51));
    painter.drawLine(QPointF(46, 75), QPointF(106, 75));
    painter.drawLine(QPointF(64, 26), QPointF(82, 100));

    // The chosen point, sounding.
    const QPointF point(48, 58);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0xff, 0x8c, 0x2a));
    painter.drawEllipse(point, 10, 10);
    painter.setBrush(Qt::NoBrush);
    for (int ring = 1; ring <= 2; ++ring) {
        painter.setPen(
            QPen(QColor(0xff, 0x8c, 0x2a, 220 - ring * 60), 4, Qt::SolidLine, Qt::RoundCap));
        const double r = 10 + ring * 9;
        painter.drawArc(QRectF(point.x() - r, point.y() - r, 2 * r, 2 * r), -50 * 16, 100 * 16);
    }
}

bool SavePng(int size, const QString& path) {
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.scale(size / 128.0, size / 128.0);
    DrawIcon(painter);
    painter.end();
    return image.save(path);
}

bool SaveSvg(const QString& path) {
    QSvgGenerator svg;
    svg.setFileName(path);
    svg.setSize(QSize(128, 128));
    svg.setViewBox(QRect(0, 0, 128, 128));
    svg.setTitle("Quirnel");
    svg.setDescription("A vowel trapezoid with a sounding point");
    QPainter painter(&svg);
    DrawIcon(painter);
    if (!painter.end())
        return false;
    // The generator gives the size in millimetres; icon themes expect pixels.
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QString text = QString::fromUtf8(file.readAll());
    file.close();
    text.replace(QRegularExpression("<svg width=\"[^\"]*\" height=\"[^\"]*\""),
                 "<svg width=\"128\" height=\"128\"");
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(text.toUtf8()) == text.toUtf8().size();
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: quirnel-make-icon FOLDER [WINDOW-ICON.png]\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]) + "/" + kIconName;
    bool saved = SaveSvg(folder + ".svg");
    for (int size : {48, 128, 256})
        saved = SavePng(size, folder + "-" + QString::number(size) + ".png") && saved;
    if (argc > 2)
        saved = SavePng(128, QString::fromLocal8Bit(argv[2])) && saved;
    return saved ? 0 : 1;
}
