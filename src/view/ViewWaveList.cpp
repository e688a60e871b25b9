// The view's side of the wave list window: opening and closing it, its requests, the play
// command and keeping it docked beside the main window.
#include "view/TundrelView.h"

#include "view/SpectrumWindow.h"
#include "view/WaveListDlg.h"

CWaveListDlg* CTundrelView::WaveList() {
    if (m_pWaveList)
        return m_pWaveList;
    m_pWaveList = new CWaveListDlg(this, m_pPlayer); // deleted with the view
    // The window asks to be closed from inside its own handlers: it is closed once they
    // are done, as a posted message would be.
    connect(m_pWaveList, &CWaveListDlg::closeRequested, this, &CTundrelView::CloseWaveList,
            Qt::QueuedConnection);
    connect(m_pWaveList, &CWaveListDlg::vowelVolumeChanged, this,
            [this](int volume) { m_nVolume = volume; });
    connect(m_pWaveList, &CWaveListDlg::vowelPlayRequested, this, &CTundrelView::PlayCurrent);
    connect(m_pWaveList, &CWaveListDlg::recordingSelected, this, [this](const std::string& path) {
        if (IsSpectrumOpen())
            m_pSpectrum->ShowRecording(path);
        if (m_state.Shown().Recordings().IsShown()) {
            m_state.Shown().Recordings().SetSelected(m_pWaveList->SelectedIndex());
            update();
        }
    });
    connect(m_pWaveList, &CWaveListDlg::entriesChanged, this, [this] {
        if (m_state.Shown().Recordings().IsShown())
            SyncRecordings();
    });
    return m_pWaveList;
}

bool CTundrelView::IsWaveListOpen() const {
    return m_pWaveList && m_pWaveList->IsWindow();
}

void CTundrelView::ToggleWaveList() {
    if (IsWaveListOpen())
        m_pWaveList->DestroyWindow();
    else
        WaveList()->Create(m_pVolume, m_nVolume);
    emit commandStatesChanged();
}

void CTundrelView::CloseWaveList() {
    if (!IsWaveListOpen())
        return;
    m_pWaveList->DestroyWindow();
    emit commandStatesChanged();
}

void CTundrelView::OpenWaveListFile(const std::string& path) {
    if (!IsWaveListOpen())
        ToggleWaveList();
    m_pWaveList->OpenList(path);
}

void CTundrelView::PlayWaveFile() {
    WaveList()->OnPlay();
}

void CTundrelView::OnFrameMoved(const QRect& frameRect) {
    if (IsWaveListOpen())
        m_pWaveList->DockTo(frameRect);
    if (IsSpectrumOpen())
        m_pSpectrum->DockTo(frameRect);
}
