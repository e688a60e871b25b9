// A paint device that keeps every piece of text painted on it, where and in which font.
#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPaintEngine>
#include <QPointF>
#include <QString>
#include <QTextItem>
#include <QTransform>

#include <memory>
#include <vector>

struct PaintedText {
    QString text;
    QFont font;
    QPointF origin; // left end of the baseline, in device coordinates

    double Right() const { return origin.x() + QFontMetricsF(font).horizontalAdvance(text); }
};

// An image of the given size whose painter records text instead of drawing it.
class TextRecorder : public QImage {
public:
    explicit TextRecorder(QSize size)
        : QImage(size, QImage::Format_RGB32), m_engine(std::make_unique<Engine>(this)) {}

    QPaintEngine* paintEngine() const override { return m_engine.get(); }
    std::vector<PaintedText> texts;

private:
    class Engine : public QPaintEngine {
    public:
        explicit Engine(TextRecorder* device) : QPaintEngine(AllFeatures), m_device(device) {}
        bool begin(QPaintDevice*) override { return true; }
        bool end() override { return true; }
        void updateState(const QPaintEngineState& state) override {
            if (state.state() & DirtyTransform)
                m_transform = state.transform();
        }
        void drawTextItem(const QPointF& origin, const QTextItem& item) override {
            m_device->texts.push_back({item.text(), item.font(), m_transform.map(origin)});
        }
        void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
        void drawPath(const QPainterPath&) override {}
        void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
        Type type() const override { return User; }

    private:
        TextRecorder* m_device;
        QTransform m_transform;
    };

    std::unique_ptr<Engine> m_engine;
};
