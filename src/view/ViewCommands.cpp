// The view's commands: the chart's own go to its state; playing, the wave list window, the
// advanced controls and the commands that ask first are the view's.
#include "view/TundrelView.h"

#include "base/Directories.h"
#include "chart/ChartCommands.h"
#include "view/FigureController.h"
#include "view/SpectrumController.h"
#include "view/StimulusController.h"
#include "view/WaveListController.h"

namespace {

CommandState Enabled() {
    CommandState state;
    state.handled = true;
    return state;
}

} // namespace

void CTundrelView::OnInitialUpdate() {
    InvalidateMarker();
    m_state.InitialUpdate(g_strDatDir);
    InvalidateMarker();
    ShowState();
    if (m_state.List().SelectedRow() >= 0)
        setFocus();
    emit commandStatesChanged();
}

void CTundrelView::OnCommand(int id) {
    Report refusal;
    if (!RunViewCommand(id)) {
        const ChartCommandResult result = RunChartCommand(m_state, id);
        if (!result.handled)
            return;
        refusal = result.refusal;
    }
    ShowState();
    // A change of scale or zoom may move recordings onto the chart or off it.
    if (m_state.Shown().Recordings().IsShown())
        m_waveList->ShowRecordingMarks();
    emit commandStatesChanged();
    ShowReport(refusal);
}

// Runs the commands that do more than change the chart's state; false for the others.
bool CTundrelView::RunViewCommand(int id) {
    switch (id) {
    case ID_PLAY:
        PlayCurrent();
        break;
    case ID_MALE:
    case ID_FEMALE:
        RunChartCommand(m_state, id);
        // The chart takes the keyboard back from the list when a vowel was applied.
        if (m_state.List().SelectedRow() >= 0)
            setFocus();
        break;
    case ID_MOVE_UP:
    case ID_MOVE_DOWN:
    case ID_MOVE_LEFT:
    case ID_MOVE_RIGHT:
        MovePoint(id);
        break;
    case ID_ADVANCED_CONTROLS:
        ToggleAdvancedControls();
        break;
    case ID_WAVELIST_WINDOW:
        m_waveList->Toggle();
        break;
    case ID_SPECTRUM_WINDOW:
        m_spectrum->Toggle();
        break;
    case ID_PLAY_WAVE_FILE:
        m_waveList->PlaySelected();
        break;
    case ID_GO_TO_FORMANTS:
        OnGoToFormants();
        break;
    default:
        return m_figures->RunCommand(id) || m_waveList->RunRecordingCommand(id) ||
               RunListeningCommand(id) || DoDialogCommand(id) || m_stimuli->RunCommand(id);
    }
    return true;
}

// Only the old and new markers are repainted.
void CTundrelView::MovePoint(int id) {
    InvalidateMarker();
    RunChartCommand(m_state, id);
    InvalidateMarker();
}

void CTundrelView::ToggleAdvancedControls() {
    RunChartCommand(m_state, ID_ADVANCED_CONTROLS);
    ShowAdvancedControls();
    emit requiredSizeChanged();
    update();
}

CommandState CTundrelView::OnUpdateCommand(int id) const {
    CommandState state;
    switch (id) {
    case ID_WAVELIST_WINDOW:
        state = Enabled();
        state.checked = IsWaveListOpen();
        return state;
    case ID_SPECTRUM_WINDOW:
        state = Enabled();
        state.checked = IsSpectrumOpen();
        return state;
    case ID_LOG_TO_FILE:
        state = Enabled();
        state.checked = m_log.IsOn();
        return state;
    case ID_PLAY:
    case ID_PLAY_WAVE_FILE:
    case ID_DURATION:
    case ID_FEMALE_TILT:
    case ID_CIRCLE_PARAMETERS:
    case ID_TEMP_PATH:
    case ID_EXPORT_CHART:
    case ID_GO_TO_FORMANTS:
        return Enabled();
    default:
        state = m_stimuli->CommandStateOf(id);
        if (!state.handled)
            state = ListeningCommandState(id);
        return state.handled ? state : ChartCommandState(m_state, id);
    }
}
