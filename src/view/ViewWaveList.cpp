// The view's side of the wave list window: opening and closing it, its requests, the play
// command and keeping it docked beside the main window.
#include "view/TundrelView.h"

#include "view/WaveListDlg.h"

CWaveListDlg* CTundrelView::WaveList() {
    if (!m_pWaveList)
        m_pWaveList = new CWaveListDlg(this, m_pPlayer); // deleted with the view
    return m_pWaveList;
}

bool CTundrelView::IsWaveListOpen() const {
    return m_pWaveList && m_pWaveList->IsWindow();
}

void CTundrelView::ToggleWaveList() {
    if (IsWaveListOpen())
        m_pWaveList->DestroyWindow();
    else
        WaveList()->Create(m_pVolume);
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

void CTundrelView::OnWaveListMessage(int request, int value) {
    switch (request) {
    case kWaveListClose:
    case kWaveListCloseOther:
        if (IsWaveListOpen()) {
            m_pWaveList->DestroyWindow();
            emit commandStatesChanged();
        }
        break;
    case kWaveListVowelVolume:
        m_nVolume = value;
        break;
    default:
        break;
    }
}

void CTundrelView::OnFrameMoved(const QRect& frameRect) {
    if (IsWaveListOpen())
        m_pWaveList->DockTo(frameRect);
}
