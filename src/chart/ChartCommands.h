// The menu commands and keys that act on the chart's state alone, and their menu states.
#pragma once

#include "base/MessageBox.h"
#include "chart/CommandIds.h"

#include <optional>

class ChartState;

// What a command did to the state: whether it is one of the chart's, and a refusal to show.
struct ChartCommandResult {
    bool handled = false;
    std::optional<MessageRequest> refusal;
};

// Runs one of the chart's commands: voice, page, set, maps, scale, zoom, grid, modes,
// circle steps, automatic F3, advanced controls, formant position and the arrow keys.
ChartCommandResult RunChartCommand(ChartState& state, int id);

// The check, enabled state and text of those commands, of Zoom Parameters (enabled only in
// zoom mode), of the two status panes, and of the reference vowel entries, Reference Spread
// and Axis Labels (which the view runs) with the reference shown as the scale pane's
// tooltip; not handled for any other command.
CommandState ChartCommandState(const ChartState& state, int id);
