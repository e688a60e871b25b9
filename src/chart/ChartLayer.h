// A layer drawn over the chart beside its own vowels: the recordings of the wave list now,
// others (a live trace of what is heard) beside it later. The chart's state keeps them in a
// list; whatever draws the chart visits each one.
#pragma once

class RecordingLayer;

// What a drawing of the chart does with each kind of layer. A new kind of layer adds its own
// Visit here and its drawing; the chart's state does not change.
class ChartLayerVisitor {
public:
    virtual ~ChartLayerVisitor() = default;
    virtual void Visit(const RecordingLayer& layer) = 0;
};

// One layer. Its changes redraw the chart but never play it.
class ChartLayer {
public:
    virtual ~ChartLayer() = default;
    virtual void Accept(ChartLayerVisitor& visitor) const = 0;
    // True once after a change of what the layer shows.
    bool TakeChange() {
        const bool changed = m_changed;
        m_changed = false;
        return changed;
    }

protected:
    void Changed() { m_changed = true; }

private:
    bool m_changed = false;
};
