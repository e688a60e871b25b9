// The vowel chart view: construction, options, the volume control and painting.
#include "view/TundrelView.h"

#include "audio/ISoundPlayer.h"
#include "audio/VolumeCtrl.h"
#include "audio/WaveOutVolumeCtrl.h"
#include "base/MessageBox.h"
#include "base/Settings.h"
#include "drawing/LiveTraceDrawing.h"
#include "synth/SynthEngine.h"
#include "view/FigureController.h"
#include "view/SequencePlayer.h"
#include "view/SpectrumController.h"
#include "view/StimulusController.h"
#include "view/WaveListController.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QTimer>
#include <QToolTip>

namespace {

const QRect kF3Area(430, 172, 40, 193); // (430, 172, 470, 365)

} // namespace

CTundrelView::CTundrelView(CTundrelDoc* doc, CVolumeCtrl* volume, ISoundPlayer* player,
                           QWidget* parent)
    : QWidget(parent), m_state(doc), m_pVolume(volume) {
    if (player) {
        m_pSequence = new CSequencePlayer(player, this);
        m_pPlayer = m_pSequence;
    }
    setFocusPolicy(Qt::StrongFocus);
    setAutoFillBackground(true);
    m_state.SetActionLog(&m_log);
    m_stimuli = std::make_unique<CStimulusController>(m_state, m_pSequence);
    m_figures = std::make_unique<CFigureController>(m_state, m_look);
    m_waveList =
        std::make_unique<CWaveListController>(this, m_state, m_pPlayer, m_pVolume, m_nVolume);
    m_spectrum = std::make_unique<CSpectrumController>(this, m_look);
    ConnectControllers();
    ReadOptions();
    m_look = ChooseChartLook();
    CreateControls();
    ShowAdvancedControls();
    m_state.ShowFirstVowel();
    ShowState();
    ActivateVolume();
    setFocus();
    // The spectrum window comes back once the main window is up, beside which it docks.
    if (ReadSetting(settings::kSpectrumWindow) == 1)
        QTimer::singleShot(0, this, [this] { m_spectrum->Restore(); });
}

void CTundrelView::ConnectControllers() {
    connect(m_stimuli.get(), &CStimulusController::noticeChanged, this, &CTundrelView::ShowNotice);
    connect(m_stimuli.get(), &CStimulusController::commandStatesChanged, this,
            &CTundrelView::commandStatesChanged);
    connect(m_waveList.get(), &CWaveListController::commandStatesChanged, this,
            &CTundrelView::commandStatesChanged);
    connect(m_waveList.get(), &CWaveListController::chartChanged, this, [this] { update(); });
    connect(m_waveList.get(), &CWaveListController::vowelVolumeChanged, this,
            [this](int volume) { m_nVolume = volume; });
    connect(m_waveList.get(), &CWaveListController::vowelPlayRequested, this,
            &CTundrelView::PlayCurrent);
    connect(m_waveList.get(), &CWaveListController::recordingSelected, this,
            [this](const std::string& path) { m_spectrum->ShowRecording(path); });
    connect(m_spectrum.get(), &CSpectrumController::commandStatesChanged, this,
            &CTundrelView::commandStatesChanged);
}

CTundrelView::~CTundrelView() {
    OnDestroy();
}

void CTundrelView::ReadOptions() {
    m_state.Shown().SetGridWidth(ReadSetting(settings::kZoomFactor));
    m_state.Sound().SetFemaleTilt(ReadSetting(settings::kFemaleTilt));
    m_waveList->ReadOptions();
    m_figures->ReadOptions();
}

void CTundrelView::WriteOptions() {
    WriteSetting(settings::kZoomFactor, m_state.Shown().GridWidth());
    WriteSetting(settings::kFemaleTilt, m_state.Sound().FemaleTilt());
}

void CTundrelView::ActivateVolume() {
    if (m_pVolume && m_pVolume->IsAvailable()) {
        m_pVolume->Activate();
        m_nVolume = m_pVolume->GetVolume();
    } else {
        ShowMessage("VolumeCtrl is not available.", "Error", MsgIcon::Error);
    }
}

bool CTundrelView::IsWaveListOpen() const {
    return m_waveList->IsOpen();
}

CWaveListDlg* CTundrelView::WaveList() {
    return m_waveList->Window();
}

void CTundrelView::OpenWaveListFile(const std::string& path) {
    m_waveList->OpenListFile(path);
}

bool CTundrelView::IsSpectrumOpen() const {
    return m_spectrum->IsOpen();
}

CSpectrumView* CTundrelView::Spectrum() {
    return m_spectrum->Window();
}

const std::vector<std::string>& CTundrelView::ContinuumFiles() const {
    return m_stimuli->ContinuumFiles();
}

bool CTundrelView::IsPlayingContinuum() const {
    return m_stimuli->IsPlayingContinuum();
}

void CTundrelView::OnFrameMoved(const QRect& frameRect) {
    m_waveList->DockTo(frameRect);
    m_spectrum->DockTo(frameRect);
}

void CTundrelView::SetVoiceFiles(const std::vector<std::string>* voiceFiles) {
    m_state.Sound().SetVoiceFiles(voiceFiles);
}

QSize CTundrelView::RequiredClientSize() const {
    return QSize(m_state.Shown().ShowsAdvancedControls() ? 472 : 430, 385);
}

void CTundrelView::OnDestroy() {
    if (m_bDestroyed)
        return;
    m_bDestroyed = true;
    StopListening();
    WriteOptions();
    if (m_pPlayer)
        m_pPlayer->Stop();
    m_engine.Release();
    m_log.Stop();
    // The output line is left as the program found it: muted again only when it was muted
    // before, at the volume it had. A control that cannot tell is left alone.
    if (auto* waveOut = dynamic_cast<CWaveOutVolumeCtrl*>(m_pVolume))
        waveOut->RestoreInitialState();
}

// Only draws: what the chart plays is decided when its state changes.
void CTundrelView::paintEvent(QPaintEvent*) {
    {
        QPainter painter(this);
        if (!m_state.Shown().ShowsAdvancedControls())
            painter.fillRect(kF3Area, QColor(192, 192, 192));
        DrawChart(painter, m_state, m_look);
        DrawLiveTrace(painter, m_liveTrace, m_state.Scale());
    }
    m_bPainted = true;
    // A sound that came before the window's first paint follows it.
    if (m_bSoundAfterFirstPaint) {
        m_bSoundAfterFirstPaint = false;
        PostChangeSound();
    }
}

void CTundrelView::mousePressEvent(QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    if (event->button() == Qt::LeftButton)
        OnLButtonDown(point.x(), point.y());
    else if (event->button() == Qt::RightButton)
        OnRButtonDown(point.x(), point.y());
    QWidget::mousePressEvent(event);
}

bool CTundrelView::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        QString tip = m_waveList->RecordingTip(help->pos());
        if (tip.isEmpty())
            tip = m_figures->ReferenceTip(help->pos());
        if (!tip.isEmpty()) {
            QToolTip::showText(help->globalPos(), tip, this);
            return true;
        }
    }
    return QWidget::event(event);
}
