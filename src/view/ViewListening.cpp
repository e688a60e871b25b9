// The view's side of live listening: Tools > Listen and Keep Last Take, the frames drawn
// over the chart at most 60 times a second, the status bar's figures and level meter, and
// the pause while the program's own sound plays.
#include "view/TundrelView.h"

#include "audio/ISoundPlayer.h"
#include "base/MessageBox.h"
#include "base/Report.h"
#include "listening/LiveListener.h"
#include "view/WaveListController.h"
#include "view/WaveListDlg.h"

#include <QDir>
#include <QStandardPaths>
#include <QTimer>

#include <cmath>
#include <mutex>
#include <vector>

namespace {

// At most 60 redraws a second.
constexpr int kRedrawMs = 16;
// After the program's own sound has ended, listening waits this long more: the tail still
// in the output's and the input's buffers (and a room's echo) is not the speaker.
constexpr int kOwnSoundTailMs = 150;
// The level meter: kMeterCells cells over kMeterRangeDb below full scale; a clip stays
// marked for kClipShownS.
constexpr int kMeterCells = 8;
constexpr double kMeterRangeDb = 60;
constexpr double kClipShownS = 1.0;

const char kListenCaption[] = "Listen";

CommandState Enabled() {
    CommandState state;
    state.handled = true;
    return state;
}

} // namespace

// The frames of the analysis's thread, waiting for the view's next tick.
struct LiveInbox {
    std::mutex lock;
    std::vector<LiveFrame> frames;
};

bool CTundrelView::IsListening() const {
    return m_pListener && m_pListener->IsListening();
}

bool CTundrelView::IsListeningPaused() const {
    return IsListening() && m_pListener->IsPaused();
}

std::string CTundrelView::TakeFolder() {
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty() && QDir(documents).exists())
        return documents.toStdString();
    return QDir::homePath().toStdString();
}

bool CTundrelView::RunListeningCommand(int id) {
    switch (id) {
    case ID_LISTEN:
        if (IsListening())
            StopListening();
        else
            StartListening();
        return true;
    case ID_KEEP_LAST_TAKE:
        KeepLastTake();
        return true;
    default:
        return false;
    }
}

CommandState CTundrelView::ListeningCommandState(int id) const {
    CommandState state;
    switch (id) {
    case ID_LISTEN:
        state = Enabled();
        state.checked = IsListening();
        state.text = IsListening() ? "Stop &Listening\tCtrl+L" : "&Listen\tCtrl+L";
        return state;
    case ID_KEEP_LAST_TAKE:
        return Enabled();
    default:
        return state;
    }
}

void CTundrelView::StartListening() {
    if (IsListening())
        return;
    // The frames come on the analysis's thread; the view takes them at its next tick.
    auto inbox = std::make_shared<LiveInbox>();
    auto listener = std::make_shared<CLiveListener>([inbox](const LiveFrame& frame) {
        std::lock_guard lock(inbox->lock);
        inbox->frames.push_back(frame);
    });
    const CLiveInput::Result result = listener->Start();
    if (result != CLiveInput::Result::Recording) {
        ShowMessage(NoMicrophoneMessage(result), kListenCaption, MsgIcon::Warning);
        emit commandStatesChanged();
        return;
    }
    m_pListener = std::move(listener); // the last take of the one before goes with it
    m_pLiveInbox = std::move(inbox);
    m_liveTrace.Clear();
    m_liveFrame = LiveFrame();
    m_liveClippedAtS = -1;
    if (!m_pLiveTimer) {
        m_pLiveTimer = new QTimer(this);
        m_pLiveTimer->setInterval(kRedrawMs);
        connect(m_pLiveTimer, &QTimer::timeout, this, &CTundrelView::TickListening);
    }
    if (m_pPlayer && m_pPlayer->IsPlaying())
        PauseListeningForOwnSound();
    m_pLiveTimer->start();
    emit commandStatesChanged();
}

void CTundrelView::StopListening() {
    if (m_pLiveTimer)
        m_pLiveTimer->stop();
    if (!IsListening())
        return;
    // The listener is kept for Keep Last Take; its threads end here.
    m_pListener->Stop();
    m_liveTrace.Clear();
    update();
    UpdateStatusText();
    emit commandStatesChanged();
}

void CTundrelView::OnLiveFrame(const LiveFrame& frame) {
    const FormantFrame& f = frame.formants;
    m_liveTrace.Add(f.timeS, f.voiced, f.formantsHz[0], f.formantsHz[1]);
    m_liveFrame = frame;
    if (frame.clipped)
        m_liveClippedAtS = f.timeS;
    m_bLiveChanged = true;
}

void CTundrelView::PauseListeningForOwnSound() {
    if (!IsListening())
        return;
    m_pListener->SetPaused(true);
    m_liveResumeAt = std::chrono::steady_clock::time_point::max();
}

void CTundrelView::TickListening() {
    if (!IsListening())
        return;
    if (m_pListener->HasFailed()) {
        StopListening();
        ShowMessage(NoMicrophoneMessage(CLiveInput::Result::Recording), kListenCaption,
                    MsgIcon::Warning);
        return;
    }
    std::vector<LiveFrame> frames;
    {
        std::lock_guard lock(m_pLiveInbox->lock);
        frames.swap(m_pLiveInbox->frames);
    }
    for (const LiveFrame& frame : frames)
        OnLiveFrame(frame);
    const auto now = std::chrono::steady_clock::now();
    if (m_pPlayer && m_pPlayer->IsPlaying()) {
        PauseListeningForOwnSound();
    } else if (m_pListener->IsPaused()) {
        if (m_liveResumeAt == std::chrono::steady_clock::time_point::max())
            m_liveResumeAt = now + std::chrono::milliseconds(kOwnSoundTailMs);
        if (now >= m_liveResumeAt)
            m_pListener->SetPaused(false);
    }
    if (!m_bLiveChanged)
        return;
    m_bLiveChanged = false;
    update(QRect(kChartLeft, kChartTop, kChartWidth, kChartHeight));
    UpdateStatusText();
}

QString CTundrelView::LiveStatusText() const {
    if (!IsListening())
        return QString();
    const FormantFrame& f = m_liveFrame.formants;
    QString text = QStringLiteral("   Listening: ");
    if (m_pListener->IsPaused())
        text += QStringLiteral("paused ");
    else if (f.voiced)
        text += QStringLiteral("F0 %1 Hz, F1 %2 Hz, F2 %3 Hz ")
                    .arg(std::lround(f.f0Hz))
                    .arg(std::lround(f.formantsHz[0]))
                    .arg(std::lround(f.formantsHz[1]));
    else
        text += QStringLiteral("no voice ");
    const double fill = (m_liveFrame.levelDb + kMeterRangeDb) / kMeterRangeDb * kMeterCells;
    const int cells = std::clamp(static_cast<int>(std::lround(fill)), 0, kMeterCells);
    text += QStringLiteral("[") + QString(cells, QChar(0x2588)) +
            QString(kMeterCells - cells, QChar(0x2591)) + QStringLiteral("]");
    if (m_liveClippedAtS >= 0 && f.timeS - m_liveClippedAtS < kClipShownS)
        text += QStringLiteral(" CLIPPED");
    return text;
}

void CTundrelView::KeepLastTake() {
    if (!m_pListener) {
        ShowMessage("There is no take to keep: choose Tools > Listen first, then speak.",
                    kListenCaption, MsgIcon::Information);
        return;
    }
    std::string path;
    const Report kept = m_pListener->KeepLastTake(TakeFolder(), path);
    ShowReport(kept);
    if (!kept.Ok())
        return;
    WaveList()->AddRecording(path);
    if (m_state.Shown().Recordings().IsShown())
        m_waveList->SyncRecordings();
    ShowNotice(QStringLiteral("Kept the last take as %1").arg(QString::fromStdString(path)));
}
