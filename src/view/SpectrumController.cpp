#include "view/SpectrumController.h"

#include "base/Settings.h"
#include "chart/ChartState.h"
#include "view/SpectrumWindow.h"

CSpectrumController::CSpectrumController(QWidget* owner, const ChartLook& look)
    : m_owner(owner), m_look(look) {}

CSpectrumView* CSpectrumController::Window() {
    if (m_pSpectrum)
        return m_pSpectrum;
    m_pSpectrum = new CSpectrumView(m_owner, m_look); // deleted with the owner
    connect(m_pSpectrum, &CSpectrumView::closeRequested, this, &CSpectrumController::Close,
            Qt::QueuedConnection);
    return m_pSpectrum;
}

bool CSpectrumController::IsOpen() const {
    return m_pSpectrum && m_pSpectrum->IsWindow();
}

void CSpectrumController::Toggle() {
    if (IsOpen())
        m_pSpectrum->DestroyWindow();
    else
        Window()->Create();
    WriteSetting(settings::kSpectrumWindow, IsOpen() ? 1 : 0);
}

void CSpectrumController::Close() {
    if (!IsOpen())
        return;
    m_pSpectrum->DestroyWindow();
    WriteSetting(settings::kSpectrumWindow, 0);
    emit commandStatesChanged();
}

void CSpectrumController::Restore() {
    if (IsOpen())
        return;
    Window()->Create();
    emit commandStatesChanged();
}

void CSpectrumController::ShowVowel(const ChartVowel& vowel) {
    if (!IsOpen())
        return;
    m_pSpectrum->ShowVowel({vowel.voiceFile, vowel.tilt, vowel.duration, vowel.f1, vowel.f2,
                            vowel.f3, vowel.f1End, vowel.f2End});
}

void CSpectrumController::ShowRecording(const std::string& path) {
    if (IsOpen())
        m_pSpectrum->ShowRecording(path);
}

void CSpectrumController::DockTo(const QRect& frameRect) {
    if (IsOpen())
        m_pSpectrum->DockTo(frameRect);
}
