// The view's side of the wave list's recordings on the chart: the two View commands, the
// background measuring, the marks in the wave list and the tooltip that names a recording.
#include "view/TundrelView.h"

#include "base/Settings.h"
#include "view/RecordingMeasurer.h"
#include "view/WaveListDlg.h"

#include <cmath>

namespace {

// A tooltip names the recording whose marker lies this close to the mouse, in pixels.
constexpr double kRecordingTipRadius = 8;

} // namespace

bool CTundrelView::RunRecordingCommand(int id) {
    switch (id) {
    case ID_RECORDINGS_ON_CHART:
        m_state.Shown().Recordings().SetShown(!m_state.Shown().Recordings().IsShown());
        WriteSetting(settings::kRecordingsOnChart, m_state.Shown().Recordings().IsShown() ? 1 : 0);
        SyncRecordings();
        return true;
    case ID_RECORDING_TRACKS:
        m_state.Shown().Recordings().SetTracks(!m_state.Shown().Recordings().ShowsTracks());
        WriteSetting(settings::kRecordingTracks,
                     m_state.Shown().Recordings().ShowsTracks() ? 1 : 0);
        update();
        return true;
    default:
        return false;
    }
}

void CTundrelView::SyncRecordings() {
    CWaveListDlg* list = WaveList();
    if (!m_state.Shown().Recordings().IsShown()) {
        m_state.Shown().Recordings().SetEntries({});
        list->SetMarks({}, {});
        update();
        return;
    }
    if (!m_pMeasurer) {
        m_pMeasurer = new CRecordingMeasurer(this); // deleted with the view
        connect(m_pMeasurer, &CRecordingMeasurer::measured, this,
                [this](const QString&) { SyncRecordings(); });
    }
    std::vector<ChartRecording> recordings;
    for (const std::string& path : list->Files()) {
        ChartRecording recording;
        recording.path = path;
        if (std::optional<RecordingFormants> known = m_pMeasurer->Lookup(path)) {
            recording.measured = true;
            recording.formants = std::move(*known);
        }
        recordings.push_back(std::move(recording));
    }
    m_state.Shown().Recordings().SetEntries(std::move(recordings));
    m_state.Shown().Recordings().SetSelected(list->SelectedIndex());
    ShowRecordingMarks();
    update();
}

// The marks of the entries not drawn, under the chart's scale as it is now.
void CTundrelView::ShowRecordingMarks() {
    if (!m_pWaveList)
        return;
    std::vector<std::string> marks, tips;
    for (const ChartRecording& recording : m_state.Shown().Recordings().Entries()) {
        std::string mark, tip;
        const RecordingFormants& formants = recording.formants;
        switch (PlaceOf(m_state.Scale(), recording)) {
        case RecordingPlace::Pending:
        case RecordingPlace::OnChart:
            break;
        case RecordingPlace::Unreadable:
            mark = "  [unreadable]";
            tip = "This file " + formants.problem + ": it is not on the chart.";
            break;
        case RecordingPlace::Unvoiced:
            mark = "  [no voice]";
            tip = "No voiced stretch was found in this recording: it is not on the chart.";
            break;
        case RecordingPlace::OutsideChart:
            mark = "  [off chart]";
            tip = "F1 " + std::to_string(std::lround(formants.f1)) + " Hz, F2 " +
                  std::to_string(std::lround(formants.f2)) +
                  " Hz lie outside the chart as it is shown now.";
            break;
        }
        marks.push_back(mark);
        tips.push_back(tip);
    }
    m_pWaveList->SetMarks(std::move(marks), std::move(tips));
}

// The recording under the mouse: its file name and measured formants.
QString CTundrelView::RecordingTip(const QPoint& point) const {
    const int index = m_state.Shown().Recordings().Near(m_state.Scale(), point.x() - kChartLeft,
                                                        point.y(), kRecordingTipRadius);
    if (index < 0)
        return QString();
    const ChartRecording& recording =
        m_state.Shown().Recordings().Entries()[static_cast<size_t>(index)];
    return QStringLiteral("%1\nF1 %2 Hz, F2 %3 Hz")
        .arg(QString::fromStdString(RecordingName(recording.path)))
        .arg(std::lround(recording.formants.f1))
        .arg(std::lround(recording.formants.f2));
}
