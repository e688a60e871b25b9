// Draws the program icon (a vowel trapezoid with a sounding point) into a PNG file.
// Build and run once by hand; the PNG is committed:
//   g++ -std=c++20 -fPIC MakeIcon.cpp $(pkg-config --cflags --libs Qt6Gui) -o /tmp/makeicon
//   QT_QPA_PLATFORM=offscreen /tmp/makeicon ../quirnel.png
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const int size = 128;
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
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
    painter.end();
    return image.save(argc > 1 ? argv[1] : "quirnel.png") ? 0 : 1;
}
