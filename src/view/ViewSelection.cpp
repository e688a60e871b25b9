// The view's side of selection and playback: clicks and the list go to the chart's state,
// the markers are repainted, and the vowels the state asks for are rendered and played.
#include "view/TundrelView.h"

#include "audio/ISoundPlayer.h"
#include "audio/VolumeCtrl.h"
#include "base/MessageBox.h"
#include "base/Report.h"
#include "synth/SynthRun.h"
#include "view/HeldBackMessages.h"

// --- Choosing the point ------------------------------------------------------------------

// Repaints the selected point's marker, and the whole chart while markers and lines hang
// on the point.
void CTundrelView::InvalidateMarker() {
    const ChartPoint point = m_state.SelectedPoint();
    update(QRect(point.x + 45, point.y - 5, 9, 9));
    if (m_state.IsCircleMode() || (m_state.IsDiphthongMode() && m_state.DiphthongPoint().x > 0))
        update(QRect(kChartLeft, kChartTop, kChartWidth, kChartHeight));
}

void CTundrelView::OnLButtonDown(int px, int py) {
    const bool leavesCircle = m_state.IsCircleMode();
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
    const std::optional<MessageRequest> refusal = m_state.SaveVowel();
    ShowState();
    if (refusal) {
        ShowRefusal(refusal);
        return;
    }
    emit commandStatesChanged();
}

void CTundrelView::ResetVowel() {
    const std::optional<MessageRequest> refusal = m_state.ResetVowel();
    ShowState();
    ShowRefusal(refusal);
}

void CTundrelView::ShowRefusal(const std::optional<MessageRequest>& refusal) {
    if (refusal)
        ShowMessage(refusal->text, refusal->caption, refusal->icon, refusal->buttons);
}

// --- Playing -----------------------------------------------------------------------------

void CTundrelView::UpdateStatusText() {
    m_strStatus = QString::fromStdString(m_state.StatusText());
    emit statusTextChanged((m_strNotice.isEmpty() ? m_strStatus : m_strNotice) + LiveStatusText());
}

// Plays the point the paint has just drawn (its formants are fresh), once the painter is
// done; a failure to render is reported after the paint.
void CTundrelView::PlayPaintedPoint() {
    const HeldBackMessages heldBack;
    const std::optional<ChartVowel> vowel = m_state.PlayAfterPaint();
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
        SynthesizeVowel(vowel.voiceFile, vowel.tilt, vowel.duration, vowel.f1, vowel.f2, vowel.f3,
                        vowel.f1End, vowel.f2End);
    ShowReport(result.report);
    if (result.Ok() && m_pPlayer) {
        PauseListeningForOwnSound();
        m_pPlayer->Play(result.wavPath);
    }
    // Only once the sound has started: the spectrum never delays it.
    if (result.Ok())
        ShowSpectrumOf(vowel);
}
