#include "chart/LiveTrace.h"

#include <algorithm>

void LiveTrace::Add(double timeS, bool voiced, double f1, double f2) {
    m_nowS = timeS;
    if (voiced)
        m_frames.push_back({timeS, f1, f2});
    while (!m_frames.empty() && m_frames.front().timeS < m_nowS - kTraceS)
        m_frames.pop_front();
}

void LiveTrace::Clear() {
    m_frames.clear();
    m_nowS = 0;
}

std::vector<std::vector<LiveTracePoint>> LiveTrace::Trace(const ChartScale& scale) const {
    std::vector<std::vector<LiveTracePoint>> pieces;
    std::vector<LiveTracePoint> piece;
    double previousS = -1e9;
    for (const Frame& frame : m_frames) {
        const ChartPointF at = RecordingPosition(scale, frame.f1, frame.f2);
        if (!InsideChart(at) || frame.timeS - previousS > kJoinS) {
            if (piece.size() > 1)
                pieces.push_back(std::move(piece));
            piece.clear();
        }
        previousS = frame.timeS;
        if (InsideChart(at))
            piece.push_back({at, std::clamp(1 - (m_nowS - frame.timeS) / kTraceS, 0.0, 1.0)});
    }
    if (piece.size() > 1)
        pieces.push_back(std::move(piece));
    return pieces;
}

std::optional<LiveTracePoint> LiveTrace::Dot(const ChartScale& scale) const {
    if (m_frames.empty())
        return std::nullopt;
    const Frame& newest = m_frames.back();
    const double age = m_nowS - newest.timeS;
    const ChartPointF at = RecordingPosition(scale, newest.f1, newest.f2);
    if (age >= kDotFadeS || !InsideChart(at))
        return std::nullopt;
    return LiveTracePoint{at, 1 - age / kDotFadeS};
}
