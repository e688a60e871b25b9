// The spectrum window of the view: shown and hidden by View > Spectrum (the choice kept in
// the settings), docked below the main window, and fed with every vowel played and with
// the recording selected in the wave list.
#include "view/TundrelView.h"

#include "base/Settings.h"
#include "view/SpectrumWindow.h"

CSpectrumView* CTundrelView::Spectrum() {
    if (m_pSpectrum)
        return m_pSpectrum;
    m_pSpectrum = new CSpectrumView(this, m_look); // deleted with the view
    connect(m_pSpectrum, &CSpectrumView::closeRequested, this, &CTundrelView::CloseSpectrum,
            Qt::QueuedConnection);
    return m_pSpectrum;
}

bool CTundrelView::IsSpectrumOpen() const {
    return m_pSpectrum && m_pSpectrum->IsWindow();
}

void CTundrelView::ToggleSpectrum() {
    if (IsSpectrumOpen())
        m_pSpectrum->DestroyWindow();
    else
        Spectrum()->Create();
    WriteSetting(settings::kSpectrumWindow, IsSpectrumOpen() ? 1 : 0);
}

void CTundrelView::CloseSpectrum() {
    if (!IsSpectrumOpen())
        return;
    m_pSpectrum->DestroyWindow();
    WriteSetting(settings::kSpectrumWindow, 0);
    emit commandStatesChanged();
}

void CTundrelView::RestoreSpectrum() {
    if (IsSpectrumOpen())
        return;
    Spectrum()->Create();
    emit commandStatesChanged();
}

void CTundrelView::ShowSpectrumOf(const ChartVowel& vowel) {
    if (!IsSpectrumOpen())
        return;
    m_pSpectrum->ShowVowel({vowel.voiceFile, vowel.tilt, vowel.duration, vowel.f1, vowel.f2,
                            vowel.f3, vowel.f1End, vowel.f2End});
}
