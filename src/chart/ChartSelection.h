// The chart's point and its mode: the selected point, the diphthong's end point, and the
// normal, diphthong and circle modes with the circle's radius, angle and step.
#pragma once

#include "chart/ChartGeometry.h"

class PlayDecision;

// The arrow keys.
enum class PointMove { Up, Down, Left, Right };

// Coordinates are chart coordinates (client x - 50, client y). Changes are reported to the
// play decision: a moved point plays, a changed mode redraws the chart and plays.
class ChartSelection {
public:
    explicit ChartSelection(PlayDecision& changes) : m_changes(changes) {}

    ChartPoint SelectedPoint() const { return m_point; }
    ChartPoint DiphthongPoint() const { return m_end; }
    // x <= 0 means no point is selected.
    bool HasPoint() const { return m_point.x > 0; }

    // Puts the point at a chart position as a click there does (circle mode ends, the point
    // is played), but without snapping it to the zoom grid.
    void GoTo(ChartPoint point);
    // Circle mode ends (the chart is redrawn); what a left click does first.
    void LeaveCircle();
    // The point moves to point and is played; in diphthong mode the line to the end point
    // is redrawn with it.
    void Place(ChartPoint point);
    // The diphthong's end point, in every mode.
    void SetEndPoint(ChartPoint point);
    // step pixels within the chart; the point is played.
    void Move(PointMove move, int step);
    // Where the point lies after a change of scale or vowel; nothing is played by this.
    void MoveTo(ChartPoint point) { m_point = point; }

    bool IsDiphthongMode() const { return m_diphthong; }
    bool IsCircleMode() const { return m_circle; }
    bool IsNormalMode() const { return !m_diphthong && !m_circle; }
    void SetNormalMode();
    void SetDiphthongMode();
    // "<" (+1) and ">" (-1): circle mode on, the angle one step on, kept within 0..360.
    void StepCircle(int direction);
    // The circle dialog's values; circle mode on.
    void SetCircle(int radius, int step);
    int CircleRadius() const { return m_circleRadius; }
    int CircleAngle() const { return m_circleAngle; }
    int CircleStep() const { return m_circleStep; }
    // (dx, dy) of the circle point: it lies at the selected point minus the offsets.
    ChartPoint CircleOffsets() const;

private:
    PlayDecision& m_changes;
    ChartPoint m_point{-1, 0};
    ChartPoint m_end{-1, 0};
    bool m_diphthong = false;
    bool m_circle = false;
    int m_circleRadius = 16;
    int m_circleAngle = 0;
    int m_circleStep = 30;
};
