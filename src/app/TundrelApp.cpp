#include "app/TundrelApp.h"

#include "app/CommandLine.h"
#include "app/MainFrame.h"
#include "app/VoiceFiles.h"
#include "audio/SoundPlayer.h"
#include "audio/WaveOutVolumeCtrl.h"
#include "base/Directories.h"
#include "base/FileDialogs.h"
#include "base/MessageBox.h"
#include "base/Report.h"
#include "base/Settings.h"
#include "doc/BatchConvert.h"
#include "doc/TundrelDoc.h"
#include "view/InputPrompt.h"
#include "view/TundrelView.h"

#include <cstdio>
#include <filesystem>

namespace {

// "All Files" matches every name, also names without a dot, so its pattern is "*".
constexpr const char* kDocumentFilters = "Vowels (*.vow);;All Files (*)";
constexpr const char* kSaveAsFilters =
    "Vowels (*.vow);;Textfiles (*.txt);;Vowel Tavble file (*.vtb);;All Files (*)";

// A full, cleaned-up path ("." and ".." taken out), as the file system's bytes.
std::string FullPath(const std::string& path) {
    std::error_code error;
    const std::filesystem::path full = std::filesystem::absolute(path, error);
    return error ? path : full.lexically_normal().string();
}

std::string FolderOf(const std::string& path) {
    return std::filesystem::path(FullPath(path)).parent_path().string();
}

// A confirmed file dialog leaves the working directory at the chosen file's folder, where
// the remembered document folder, the batch tables and the action log are taken from.
void EnterFolderOf(const std::string& path) {
    ChangeDirectory(FolderOf(path));
}

// Save As proposes the title without its extension; a title without "." proposes nothing.
std::string ProposedSaveAsName(const std::string& title) {
    const size_t dot = title.rfind('.');
    return dot == std::string::npos ? std::string() : title.substr(0, dot);
}

} // namespace

CTundrelApp::CTundrelApp(CVolumeCtrl* volume, ISoundPlayer* player)
    : m_pVolume(volume), m_pPlayer(player) {}

CTundrelApp::~CTundrelApp() = default;

bool CTundrelApp::InitInstance(const std::vector<std::string>& arguments) {
    ReadDirectories();
    m_pDoc = std::make_unique<CTundrelDoc>();
    // The voice files come first: giving up here leaves nothing of the system changed.
    if (!FindVoiceFiles(m_voiceFiles)) {
        m_startFailureStatus = 0;
        return false;
    }
    CreateFrame(m_pVolume, m_pPlayer);
    if (!OpenCommandLineDocument(arguments)) {
        m_startFailureStatus = 1;
        return false;
    }
    OnInitialUpdate();
    m_pFrame->show();
    if (arguments.size() >= 2 && IsWaveListFile(arguments[1]))
        m_pView->OpenWaveListFile(FullPath(arguments[1]));
    if (arguments.size() >= 2 && IsListeningTestFile(arguments[1]))
        OpenListeningTest(FullPath(arguments[1]));
    return true;
}

void CTundrelApp::ReadDirectories() {
    if (m_desktop)
        EnterDesktopFolders(*m_desktop);
    g_strStartDir = CurrentDirectory();
    // The document folder is read by the document, which is made next. Started from the
    // desktop's menu, temp.wav goes to the user's cache folder unless the settings name one.
    m_tempFolder = m_desktop ? ReadSetting(settings::kTempWavFolder, m_desktop->cache)
                             : ReadSetting(settings::kTempWavFolder);
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
    m_pView->SetTempFolder(m_tempFolder);
    m_pFrame->SetView(std::make_unique<FrameViewAdapter<CTundrelView>>(m_pView));
}

bool CTundrelApp::OpenCommandLineDocument(const std::vector<std::string>& arguments) {
    if (arguments.size() < 2 || IsWaveListFile(arguments[1]) || IsListeningTestFile(arguments[1]))
        return m_pDoc->OnNewDocument();
    // A full path, so that later changes of the working folder cannot redirect a Save.
    const std::string path = FullPath(arguments[1]);
    const Report opened = m_pDoc->OnOpenDocument(path);
    ShowReport(opened);
    if (opened.Ok())
        return true;
    // The program ends: its standard error says which file it was (the message box may not).
    std::fprintf(stderr, "quirnel: %s could not be opened as a vowel document\n", path.c_str());
    return false;
}

void CTundrelApp::OnInitialUpdate() {
    m_pView->OnInitialUpdate();
    m_pFrame->UpdateTitle();
    m_pFrame->UpdateCommandStates();
}

CommandState CTundrelApp::OnUpdateCommand(int id) const {
    CommandState state;
    state.handled = id == ID_FILE_NEW || id == ID_FILE_OPEN || id == ID_FILE_SAVE ||
                    id == ID_FILE_SAVE_AS || id == ID_BATCH_CONVERT || id == ID_APP_ABOUT ||
                    id == ID_NEW_VOICE || id == ID_LISTENING_TEST || id == ID_TEST_RESULTS;
    return state;
}

void CTundrelApp::OnCommand(int id) {
    if (id == ID_FILE_NEW)
        OnFileNew();
    else if (id == ID_FILE_OPEN)
        OnFileOpen();
    else if (id == ID_FILE_SAVE)
        DoFileSave();
    else if (id == ID_FILE_SAVE_AS)
        OnFileSaveAs();
    else if (id == ID_BATCH_CONVERT)
        OnBatchConvert();
    else if (id == ID_APP_ABOUT)
        OnAppAbout();
    else if (id == ID_NEW_VOICE)
        RunNewVoiceCommand(*this);
    else if (id == ID_LISTENING_TEST)
        OnListeningTest();
    else if (id == ID_TEST_RESULTS)
        OnTestResults();
}

void CTundrelApp::OnFileNew() {
    if (!SaveModified())
        return;
    if (m_pDoc->OnNewDocument())
        OnInitialUpdate();
}

void CTundrelApp::OnFileOpen() {
    ChangeDirectory(g_strVowDir);
    const FileChoice choice = GetFileDialogs().OpenFile("Open", g_strVowDir, kDocumentFilters);
    if (choice.accepted)
        OpenDocumentFile(choice.path);
    // The next Open starts where the user ended: in the chosen file's folder (also when its
    // full path was typed while the dialog showed another folder, and after a Save As that
    // the question about a changed document led to), after Cancel in the folder the dialog
    // showed last. Without a folder from the dialog the working directory stays where the
    // command put it, and that is remembered.
    const std::string folder = choice.accepted ? FolderOf(choice.path) : choice.folder;
    if (!folder.empty())
        ChangeDirectory(folder);
    CTundrelDoc::RememberVowDirectory();
}

void CTundrelApp::OpenDocumentFile(const std::string& path) {
    if (!SaveModified())
        return;
    const Report opened = m_pDoc->OnOpenDocument(path);
    ShowReport(opened);
    if (opened.Ok())
        OnInitialUpdate();
    else
        m_pFrame->UpdateTitle(); // a damaged file leaves a new, untitled document
}

bool CTundrelApp::DoFileSave() {
    bool saved = false;
    if (m_pDoc->GetPathName().empty()) {
        saved = DoSaveAs();
    } else {
        const Report report = m_pDoc->OnSaveDocument(m_pDoc->GetPathName());
        ShowReport(report);
        saved = report.Ok();
    }
    m_pFrame->UpdateTitle();
    return saved;
}

bool CTundrelApp::DoSaveAs() {
    const FileChoice choice = GetFileDialogs().SaveFile(
        "Save As", g_strVowDir, m_pDoc->GetTitle() + ".vow", kDocumentFilters, "vow");
    if (!choice.accepted)
        return false;
    EnterFolderOf(choice.path);
    const Report saved = m_pDoc->DoSave(choice.path);
    ShowReport(saved);
    return saved.Ok();
}

// Saves the document (".vow", keeping its own path and title) or exports it (".txt",
// ".vtb") by the chosen name's extension; any other extension writes nothing.
void CTundrelApp::OnFileSaveAs() {
    ChangeDirectory(g_strVowDir);
    const FileChoice choice = GetFileDialogs().SaveFile(
        "Save As", g_strVowDir, ProposedSaveAsName(m_pDoc->GetTitle()), kSaveAsFilters, "vow");
    if (!choice.accepted)
        return;
    EnterFolderOf(choice.path);
    ShowReport(m_pDoc->SaveAsChosenFile(choice.path));
    CTundrelDoc::RememberVowDirectory();
    m_pFrame->UpdateTitle();
}

// Converts every .vow document in the folder of the chosen file into the four tables.
void CTundrelApp::OnBatchConvert() {
    const FileChoice choice =
        GetFileDialogs().OpenFile("Open", CurrentDirectory(), "Vowels (*.vow);;All Files (*)");
    if (!choice.accepted)
        return;
    const std::string folder = FolderOf(choice.path);
    ChangeDirectory(folder);
    ShowReport(BatchConvertFolder(folder, *m_pDoc).report);
}

void CTundrelApp::OnAppAbout() {
    GetInputPrompt().ShowAbout();
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
    return answer == MsgAnswer::No || DoFileSave();
}

void CTundrelApp::AddAndChooseVoice(const std::string& entry) {
    // The made voice may have replaced the one the chart has loaded.
    m_pView->ForgetLoadedVoice();
    const int index = AddVoiceFile(m_voiceFiles, entry);
    m_pFrame->SetVoiceFiles(m_voiceFiles);
    m_pFrame->ExecuteCommand(ID_VOICE_FIRST + index);
}
