// The view's side of selection and playback: clicks, the list and typed formants (Go to
// Formants) go to the chart's state, the markers are repainted, and the vowels the state
// asks for are rendered and played.
#include "view/TundrelView.h"

#include "audio/ISoundPlayer.h"
#include "audio/VolumeCtrl.h"
#include "base/MessageBox.h"
#include "base/Report.h"
#include "synth/SynthEngine.h"
#include "view/FormantsForm.h"
#include "view/InputPrompt.h"
#include "view/SpectrumController.h"

#include <QCoreApplication>
#include <QEvent>

#include <QCoreApplication>

// --- Choosing the point ------------------------------------------------------------------

// Repaints the selected point's marker, and the whole chart while markers and lines hang
// on the point.
void CTundrelView::InvalidateMarker() {
    const ChartPoint point = m_state.Selection().SelectedPoint();
    update(QRect(point.x + 45, point.y - 5, 9, 9));
    if (m_state.Selection().IsCircleMode() ||
        (m_state.Selection().IsDiphthongMode() && m_state.Selection().DiphthongPoint().x > 0))
        update(QRect(kChartLeft, kChartTop, kChartWidth, kChartHeight));
}

void CTundrelView::OnLButtonDown(int px, int py) {
    const bool leavesCircle = m_state.Selection().IsCircleMode();
    InvalidateMarker();
    m_state.LeftClick({px - kChartLeft, py});
    InvalidateMarker();
    ShowState();
    if (leavesCircle)
        emit commandStatesChanged();
}

void CTundrelView::OnRButtonDown(int px, int py) {
    m_state.RightClick({px - kChartLeft, py});
    ShowState();
}

void CTundrelView::SelectVowel() {
    InvalidateMarker();
    if (!m_state.SelectVowel())
        return;
    InvalidateMarker();
    ShowState();
    setFocus();
}

void CTundrelView::FillVowelList() {
    m_state.FillVowelList();
    ShowState();
}

void CTundrelView::SaveVowel() {
    const Report refusal = m_state.SaveVowel();
    ShowState();
    if (!refusal.Ok()) {
        ShowReport(refusal);
        return;
    }
    emit commandStatesChanged();
}

void CTundrelView::ResetVowel() {
    const Report refusal = m_state.ResetVowel();
    ShowState();
    ShowReport(refusal);
}

// --- Playing -----------------------------------------------------------------------------

void CTundrelView::ShowNotice(const QString& text) {
    m_strNotice = text;
    emit statusTextChanged((m_strNotice.isEmpty() ? m_strStatus : m_strNotice) + LiveStatusText());
}

void CTundrelView::UpdateStatusText() {
    m_strStatus = QString::fromStdString(m_state.StatusText());
    emit statusTextChanged((m_strNotice.isEmpty() ? m_strStatus : m_strNotice) + LiveStatusText());
}

namespace {

const QEvent::Type kChangeSoundEvent = static_cast<QEvent::Type>(QEvent::registerEventType());

} // namespace

// Posted with the repaint's low priority and after it: the chart shows the change before it
// is heard, and a failure to render is reported over the repainted chart. The changes made
// before the event loop gets to it are heard once, as the chart then stands.
void CTundrelView::PostChangeSound() {
    if (m_bChangeSoundPosted)
        return;
    m_bChangeSoundPosted = true;
    QCoreApplication::postEvent(this, new QEvent(kChangeSoundEvent), Qt::LowEventPriority);
}

void CTundrelView::customEvent(QEvent* event) {
    if (event->type() == kChangeSoundEvent)
        PlayChange();
}

void CTundrelView::PlayChange() {
    m_bChangeSoundPosted = false;
    // The window shown but not yet painted (the first vowel at start-up, posted before the
    // window was shown): the chart is shown first here too.
    if (isVisible() && !m_bPainted) {
        m_bSoundAfterFirstPaint = true;
        return;
    }
    const std::optional<ChartVowel> vowel = m_state.TakeChangeToPlay();
    if (!vowel)
        return;
    Synthesize(*vowel);
    UpdateStatusText();
}

void CTundrelView::PlayCurrent() {
    const std::optional<ChartVowel> vowel = m_state.PlayCurrent();
    ShowSliders(); // automatic F3 moves the slider
    if (vowel)
        Synthesize(*vowel);
}

// Stops the sound, renders the vowel into "temp.wav" and plays it.
void CTundrelView::Synthesize(const ChartVowel& vowel) {
    if (m_pPlayer)
        m_pPlayer->Stop(); // also ends a continuum that plays
    if (!m_strNotice.isEmpty())
        ShowNotice(QString());
    if (m_pVolume)
        m_pVolume->SetVolume(static_cast<unsigned>(m_nVolume));
    if (vowel.voiceFile.empty())
        return; // no voice chosen yet: there is nothing to voice the vowel with
    const SynthesisResult result =
        m_engine.SynthesizeVowel(vowel.voiceFile, vowel.tilt, vowel.duration, vowel.f1, vowel.f2,
                                 vowel.f3, vowel.f1End, vowel.f2End);
    ShowReport(result.report);
    // Memory ran out: the event loop ends, and main ends the program with the report's status.
    if (result.report.EndsProcess())
        QCoreApplication::exit(kReportEndsProcessStatus);
    if (result.Ok() && m_pPlayer) {
        PauseListeningForOwnSound();
        m_pPlayer->Play(result.wavPath);
    }
    // Only once the sound has started: the spectrum never delays it.
    if (result.Ok())
        m_spectrum->ShowVowel(vowel);
}

// --- Go to Formants ----------------------------------------------------------------------

void CTundrelView::OnGoToFormants() {
    const ChartScale scale = m_state.Scale();
    const FrequencyRange f1Range = F1Range(scale);
    const FrequencyRange f2Range = F2Range(scale);
    InputForm form = GoToFormantsForm(m_state.Selection().HasPoint() ? m_state.Decision().F1() : 0,
                                      m_state.Selection().HasPoint() ? m_state.Decision().F2() : 0,
                                      m_state.Sound().ShownF3(), m_state.Sound().IsAutoF3());
    form.check = [&](const InputForm& entered) {
        TypedFormants typed;
        return ReadGoToFormants(entered, f1Range, f2Range, typed);
    };
    if (!GetInputPrompt().AskForm(form))
        return;
    TypedFormants typed;
    ReadGoToFormants(form, f1Range, f2Range, typed);
    InvalidateMarker();
    if (typed.f3.has_value() == m_state.Sound().IsAutoF3())
        m_state.Sound().ToggleAutoF3();
    if (typed.f3)
        m_state.Sound().SetF3(*typed.f3);
    m_state.Selection().GoTo({NearestX(scale, typed.f1), NearestY(scale, typed.f2)});
    InvalidateMarker();
}
