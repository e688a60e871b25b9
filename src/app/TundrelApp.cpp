#include "app/TundrelApp.h"

#include "app/MainFrame.h"
#include "app/VoiceFiles.h"
#include "audio/QtSoundPlayer.h"
#include "audio/WaveOutVolumeCtrl.h"
#include "base/Directories.h"
#include "base/MessageBox.h"
#include "base/Profile.h"
#include "doc/TundrelDoc.h"
#include "view/TundrelView.h"

CTundrelApp::CTundrelApp(CVolumeCtrl* volume, ISoundPlayer* player)
    : m_pVolume(volume), m_pPlayer(player) {}

CTundrelApp::~CTundrelApp() = default;

bool CTundrelApp::InitInstance(const QStringList& arguments) {
    ReadDirectories();
    m_pDoc = std::make_unique<CTundrelDoc>();
    // The voice files come first: giving up here leaves nothing of the system changed.
    FindVoiceFiles(m_voiceFiles);
    CreateFrame(m_pVolume, m_pPlayer);
    if (!OpenCommandLineDocument(arguments))
        return false;
    OnInitialUpdate();
    m_pFrame->show();
    return true;
}

void CTundrelApp::ReadDirectories() {
    g_strStartDir = CurrentDirectory();
    g_strVowDir = GetProfile().GetString("Directories", "Vow", g_strStartDir);
    g_strTempDir = GetProfile().GetString("Directories", "Tempwav", g_strStartDir);
}

void CTundrelApp::CreateFrame(CVolumeCtrl* volume, ISoundPlayer* player) {
    if (!volume) {
        m_pOwnVolume = std::make_unique<CWaveOutVolumeCtrl>();
        volume = m_pOwnVolume.get();
    }
    if (!player) {
        m_pOwnPlayer = std::make_unique<CSoundPlayer>();
        player = m_pOwnPlayer.get();
    }
    m_pFrame = std::make_unique<CMainFrame>(this);
    m_pFrame->SetVoiceFiles(m_voiceFiles);
    m_pView = new CTundrelView(m_pDoc.get(), volume, player);
    m_pView->SetVoiceFiles(&m_voiceFiles);
    m_pFrame->SetView(std::make_unique<FrameViewAdapter<CTundrelView>>(m_pView));
}

bool CTundrelApp::OpenCommandLineDocument(const QStringList& arguments) {
    if (arguments.size() < 2)
        return m_pDoc->OnNewDocument();
    return m_pDoc->OnOpenDocument(arguments.at(1).toStdString());
}

void CTundrelApp::OnInitialUpdate() {
    m_pView->OnInitialUpdate();
    m_pFrame->UpdateTitle();
    m_pFrame->UpdateCommandStates();
}

CommandState CTundrelApp::OnUpdateCommand(int id) const {
    CommandState state;
    state.handled = id == ID_FILE_NEW;
    return state;
}

void CTundrelApp::OnCommand(int id) {
    if (id == ID_FILE_NEW)
        OnFileNew();
}

void CTundrelApp::OnFileNew() {
    if (!SaveModified())
        return;
    if (m_pDoc->OnNewDocument())
        OnInitialUpdate();
}

std::string CTundrelApp::DocumentTitle() const {
    return m_pDoc ? m_pDoc->GetTitle() : std::string("Untitled");
}

bool CTundrelApp::SaveModified() {
    if (!m_pDoc || !m_pDoc->IsModified())
        return true;
    const MsgAnswer answer = ShowMessage("Save changes to " + m_pDoc->GetTitle() + "?", kAppTitle,
                                         MsgIcon::Warning, MsgButtons::YesNoCancel);
    if (answer == MsgAnswer::Cancel)
        return false;
    if (answer == MsgAnswer::No)
        return true;
    if (m_pDoc->GetPathName().empty())
        return false; // TODO save dialog
    return m_pDoc->OnSaveDocument(m_pDoc->GetPathName());
}
