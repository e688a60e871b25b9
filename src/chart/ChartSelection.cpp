#include "chart/ChartSelection.h"

#include "chart/PlayDecision.h"

#include <algorithm>
#include <cmath>

namespace {

// Degrees to radians as the circle mode has always computed it (slightly below pi / 180).
constexpr double kDegreeFactor = 0.01745294277777778;
constexpr int kFullCircle = 360;

} // namespace

void ChartSelection::GoTo(ChartPoint point) {
    LeaveCircle();
    Place(point);
}

void ChartSelection::LeaveCircle() {
    if (!m_circle)
        return;
    m_circle = false;
    m_changes.Redraw();
}

void ChartSelection::Place(ChartPoint point) {
    m_point = point;
    // The line to the end point must be redrawn.
    if (m_diphthong)
        m_changes.Redraw();
    m_changes.Play();
}

void ChartSelection::SetEndPoint(ChartPoint point) {
    m_end = point;
    m_changes.Redraw();
}

void ChartSelection::Move(PointMove move, int step) {
    switch (move) {
    case PointMove::Up:
        m_point.y = std::max(m_point.y - step, 0);
        break;
    case PointMove::Down:
        m_point.y += step;
        if (m_point.y > kChartHeight)
            m_point.y = kChartHeight - 1;
        break;
    case PointMove::Right:
        m_point.x += step;
        if (m_point.x > kChartWidth)
            m_point.x = kChartWidth - 1;
        break;
    case PointMove::Left:
        // x = 0 reads as "no point": the point stops at the chart's first column instead.
        m_point.x = std::max(m_point.x - step, 1);
        break;
    }
    m_changes.Play();
}

void ChartSelection::SetNormalMode() {
    m_diphthong = false;
    m_circle = false;
    m_changes.Redraw();
}

void ChartSelection::SetDiphthongMode() {
    m_diphthong = true;
    m_circle = false;
    m_changes.Redraw();
}

void ChartSelection::StepCircle(int direction) {
    m_circle = true;
    m_circleAngle += direction * m_circleStep;
    if (m_circleAngle > kFullCircle)
        m_circleAngle -= kFullCircle * ((m_circleAngle - 1) / kFullCircle);
    if (m_circleAngle < 0)
        m_circleAngle += kFullCircle * ((kFullCircle - 1 - m_circleAngle) / kFullCircle);
    m_changes.Redraw();
}

void ChartSelection::SetCircle(int radius, int step) {
    m_circleRadius = radius;
    m_circleStep = step;
    m_circle = true;
    m_changes.Redraw();
}

ChartPoint ChartSelection::CircleOffsets() const {
    const double angle = m_circleAngle * kDegreeFactor;
    return {static_cast<int>(m_circleRadius * std::sin(angle)),
            static_cast<int>(m_circleRadius * std::cos(angle))};
}
