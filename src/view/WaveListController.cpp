#include "view/WaveListController.h"

#include "base/Settings.h"
#include "chart/ChartState.h"
#include "chart/CommandIds.h"
#include "view/RecordingMeasurer.h"
#include "view/WaveListDlg.h"

#include <cmath>

namespace {

// A tooltip names the recording whose marker lies this close to the mouse, in pixels.
constexpr double kRecordingTipRadius = 8;

} // namespace

CWaveListController::CWaveListController(QWidget* owner, ChartState& state, ISoundPlayer* player,
                                         CVolumeCtrl* volume, const int& vowelVolume)
    : m_owner(owner), m_state(state), m_pPlayer(player), m_pVolume(volume), m_nVolume(vowelVolume) {
}

void CWaveListController::ReadOptions() {
    // The wave list is empty at start: its entries are measured as they come.
    m_state.Shown().Recordings().SetShown(ReadSetting(settings::kRecordingsOnChart) == 1);
    m_state.Shown().Recordings().SetTracks(ReadSetting(settings::kRecordingTracks) == 1);
}

// --- The window ----------------------------------------------------------------------------

CWaveListDlg* CWaveListController::Window() {
    if (m_pWaveList)
        return m_pWaveList;
    m_pWaveList = new CWaveListDlg(m_owner, m_pPlayer); // deleted with the owner
    // The window asks to be closed from inside its own handlers: it is closed once they
    // are done, as a posted message would be.
    connect(m_pWaveList, &CWaveListDlg::closeRequested, this, &CWaveListController::Close,
            Qt::QueuedConnection);
    connect(m_pWaveList, &CWaveListDlg::vowelVolumeChanged, this,
            &CWaveListController::vowelVolumeChanged);
    connect(m_pWaveList, &CWaveListDlg::vowelPlayRequested, this,
            &CWaveListController::vowelPlayRequested);
    connect(m_pWaveList, &CWaveListDlg::recordingSelected, this, [this](const std::string& path) {
        emit recordingSelected(path);
        if (m_state.Shown().Recordings().IsShown()) {
            m_state.Shown().Recordings().SetSelected(m_pWaveList->SelectedIndex());
            emit chartChanged();
        }
    });
    connect(m_pWaveList, &CWaveListDlg::entriesChanged, this, [this] {
        if (m_state.Shown().Recordings().IsShown())
            SyncRecordings();
    });
    return m_pWaveList;
}

bool CWaveListController::IsOpen() const {
    return m_pWaveList && m_pWaveList->IsWindow();
}

void CWaveListController::Toggle() {
    if (IsOpen())
        m_pWaveList->DestroyWindow();
    else
        Window()->Create(m_pVolume, m_nVolume);
    emit commandStatesChanged();
}

void CWaveListController::Close() {
    if (!IsOpen())
        return;
    m_pWaveList->DestroyWindow();
    emit commandStatesChanged();
}

void CWaveListController::OpenListFile(const std::string& path) {
    if (!IsOpen())
        Toggle();
    m_pWaveList->OpenList(path);
}

void CWaveListController::PlaySelected() {
    Window()->OnPlay();
}

void CWaveListController::DockTo(const QRect& frameRect) {
    if (IsOpen())
        m_pWaveList->DockTo(frameRect);
}

// --- Its recordings on the chart -------------------------------------------------------------

bool CWaveListController::RunRecordingCommand(int id) {
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
        emit chartChanged();
        return true;
    default:
        return false;
    }
}

void CWaveListController::SyncRecordings() {
    CWaveListDlg* list = Window();
    if (!m_state.Shown().Recordings().IsShown()) {
        m_state.Shown().Recordings().SetEntries({});
        list->SetMarks({}, {});
        emit chartChanged();
        return;
    }
    if (!m_pMeasurer) {
        m_pMeasurer = new CRecordingMeasurer(this); // deleted with the controller
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
    emit chartChanged();
}

void CWaveListController::ShowRecordingMarks() {
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

QString CWaveListController::RecordingTip(const QPoint& point) const {
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
