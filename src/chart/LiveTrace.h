// What live listening shows on the chart: a dot at the current voiced frame and a trace of
// the last seconds of voiced frames, fading with age, placed through the chart's scales.
// Plain C++: the window keeps one and draws it over the chart.
#pragma once

#include "chart/ChartGeometry.h"
#include "chart/RecordingLayer.h"

#include <deque>
#include <optional>
#include <vector>

// A point of the live trace on the chart and how strongly it is drawn, 1 (now) to 0.
struct LiveTracePoint {
    ChartPointF at;
    double strength = 1;
};

class LiveTrace {
public:
    // How long a voiced frame stays in the trace, and how long the dot takes to fade once
    // the voice has stopped.
    static constexpr double kTraceS = 2.0;
    static constexpr double kDotFadeS = 0.3;
    // Frames further apart than this are not joined by the trace's line.
    static constexpr double kJoinS = 0.035;

    // The next frame, in time order (seconds on the input's clock); unvoiced frames only
    // let time pass.
    void Add(double timeS, bool voiced, double f1, double f2);
    void Clear();

    // The trace under scale, in pieces of joined frames, oldest first; frames outside the
    // chart break a piece.
    std::vector<std::vector<LiveTracePoint>> Trace(const ChartScale& scale) const;
    // The dot at the newest voiced frame while it is shown, inside the chart.
    std::optional<LiveTracePoint> Dot(const ChartScale& scale) const;
    // Whether anything is drawn (the trace or the dot).
    bool IsEmpty() const { return m_frames.empty(); }

private:
    struct Frame {
        double timeS, f1, f2;
    };
    std::deque<Frame> m_frames; // the voiced frames of the last kTraceS
    double m_nowS = 0;
};
