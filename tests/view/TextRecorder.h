// A paint device that keeps every piece of text painted on it, where and in which font.
#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPaintDevice>
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

class TextRecorder : public QPaintDevice {
public:
    explicit TextRecorder(QSize size)
        : m_format(size, QImage::Format_RGB32), m_engine(std::make_unique<Engine>(this)) {}
    ~TextRecorder() override = default;

    QPaintEngine* paintEngine() const override { return m_engine.get(); }
    std::vector<PaintedText> texts;

protected:
    int metric(PaintDeviceMetric metric) const override {
        switch (metric) {
        case PdmWidth:
            return m_format.width();
        case PdmHeight:
            return m_format.height();
        case PdmWidthMM:
            return m_format.widthMM();
        case PdmHeightMM:
            return m_format.heightMM();
        case PdmDpiX:
        case PdmPhysicalDpiX:
            return m_format.logicalDpiX();
        case PdmDpiY:
        case PdmPhysicalDpiY:
            return m_format.logicalDpiY();
        case PdmNumColors:
            return 0;
        case PdmDepth:
            return 32;
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return static_cast<int>(QPaintDevice::devicePixelRatioFScale());
        default:
            return 0;
        }
    }

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

    QImage m_format; // size and resolution of the device
    std::unique_ptr<Engine> m_engine;
};
