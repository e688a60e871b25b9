// The vowel chart view: construction, options, the volume control and painting.
#include "view/TundrelView.h"

#include "audio/ISoundPlayer.h"
#include "audio/VolumeCtrl.h"
#include "audio/WaveOutVolumeCtrl.h"
#include "base/MessageBox.h"
#include "base/Settings.h"
#include "drawing/LiveTraceDrawing.h"
#include "synth/SynthRun.h"
#include "view/SequencePlayer.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QTimer>

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
    ReadOptions();
    m_look = ChooseChartLook();
    CreateControls();
    FollowContinuumPlay();
    ShowAdvancedControls();
    m_state.ShowFirstVowel();
    ShowState();
    ActivateVolume();
    setFocus();
    // The spectrum window comes back once the main window is up, beside which it docks.
    if (ReadSetting(settings::kSpectrumWindow) == 1)
        QTimer::singleShot(0, this, &CTundrelView::RestoreSpectrum);
}

CTundrelView::~CTundrelView() {
    OnDestroy();
}

void CTundrelView::ReadOptions() {
    m_state.SetGridWidth(ReadSetting(settings::kZoomFactor));
    m_state.SetFemaleTilt(ReadSetting(settings::kFemaleTilt));
    ReadFigureOptions();
}

void CTundrelView::WriteOptions() {
    WriteSetting(settings::kZoomFactor, m_state.GridWidth());
    WriteSetting(settings::kFemaleTilt, m_state.FemaleTilt());
}

void CTundrelView::ActivateVolume() {
    if (m_pVolume && m_pVolume->IsAvailable()) {
        m_pVolume->Activate();
        m_nVolume = m_pVolume->GetVolume();
    } else {
        ShowMessage("VolumeCtrl is not available.", "Error", MsgIcon::Error);
    }
}

void CTundrelView::SetVoiceFiles(const std::vector<std::string>* voiceFiles) {
    m_state.SetVoiceFiles(voiceFiles);
}

QSize CTundrelView::RequiredClientSize() const {
    return QSize(m_state.ShowsAdvancedControls() ? 472 : 430, 385);
}

void CTundrelView::OnDestroy() {
    if (m_bDestroyed)
        return;
    m_bDestroyed = true;
    StopListening();
    WriteOptions();
    if (m_pPlayer)
        m_pPlayer->Stop();
    ReleaseSynthesis();
    m_log.Stop();
    // The output line is left as the program found it: muted again only when it was muted
    // before, at the volume it had. A control that cannot tell is left alone.
    if (auto* waveOut = dynamic_cast<CWaveOutVolumeCtrl*>(m_pVolume))
        waveOut->RestoreInitialState();
}

void CTundrelView::paintEvent(QPaintEvent* event) {
    // Every paint computes the point's formants first; in automatic mode F3 follows them.
    if (m_state.HasPoint()) {
        m_state.ComputeFormants();
        ShowSliders();
        UpdateStatusText();
    }
    {
        QPainter painter(this);
        if (!m_state.ShowsAdvancedControls())
            painter.fillRect(kF3Area, QColor(192, 192, 192));
        DrawChart(painter, m_state, m_look);
        DrawLiveTrace(painter, m_liveTrace, m_state.Scale());
    }
    // Qt also repaints the view under its controls when one of them changes (a label's
    // text, a button's hover look); the point waits for a paint that reaches the chart.
    if (m_state.IsPlayPending() &&
        event->region().intersects(QRect(kChartLeft, kChartTop, kChartWidth, kChartHeight)))
        PlayPaintedPoint();
}

void CTundrelView::mousePressEvent(QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    if (event->button() == Qt::LeftButton)
        OnLButtonDown(point.x(), point.y());
    else if (event->button() == Qt::RightButton)
        OnRButtonDown(point.x(), point.y());
    QWidget::mousePressEvent(event);
}
