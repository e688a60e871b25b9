// Live listening drawn over the chart: the trace of the last voiced frames and the dot.
#pragma once

#include "chart/LiveTrace.h"

#include <QColor>

class QPainter;

inline const QColor kLiveColour(220, 90, 0);

// Draws the trace (thin, fading with age) and the dot of live under scale, in the view's
// client coordinates (the chart's left edge at kChartLeft), clipped to the chart.
void DrawLiveTrace(QPainter& painter, const LiveTrace& live, const ChartScale& scale);
