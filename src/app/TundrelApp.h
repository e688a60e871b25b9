// The application: start-up, the one document, the main frame and the file commands.
#pragma once

#include "app/DesktopFolders.h"
#include "app/FrameView.h"
#include "app/NewVoiceCommand.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

class CMainFrame;
class CTundrelDoc;
class CTundrelView;
class CVolumeCtrl;
class CWaveOutVolumeCtrl;
class ISoundPlayer;
class CSoundPlayer;

// Owns the frame and drives it; the frame reaches back only through IFrameHost, and New Voice
// only through IVoiceMenu.
class CTundrelApp : public IFrameHost, private IVoiceMenu {
public:
    // Uses the given volume control and player, or the system's when they are nullptr.
    // The caller keeps ownership of what it passes.
    explicit CTundrelApp(CVolumeCtrl* volume = nullptr, ISoundPlayer* player = nullptr);
    ~CTundrelApp() override;
    CTundrelApp(const CTundrelApp&) = delete;
    CTundrelApp& operator=(const CTundrelApp&) = delete;

    // Start-up: the directories, the document, the voice files (asking for their folder),
    // the frame with its view, then the document named by the first argument, or a new
    // one. Shows the frame and returns true; false when the program is to end, with
    // StartFailureStatus: 0 when the user gave up looking for voices (before the frame
    // exists), 1 when the named document could not be opened (its message has been shown).
    // A wave list (.wlist) named instead opens in the wave list window beside a new
    // document. The arguments are the program's, as the file system's bytes.
    bool InitInstance(const std::vector<std::string>& arguments);
    // The exit status of the program after InitInstance returned false.
    int StartFailureStatus() const { return m_startFailureStatus; }

    // Before InitInstance: started from the desktop menu, the program starts in the
    // documents folder and keeps temp.wav (unless the settings name its folder) and the
    // action log in the cache folder.
    void StartFromDesktop(const DesktopFolders& folders) { m_desktop = folders; }

    CMainFrame* Frame() const { return m_pFrame.get(); }
    CTundrelDoc* Document() const { return m_pDoc.get(); }
    CTundrelView* View() const { return m_pView; }

    // The voice data file names; entry i belongs to command 200 + i.
    std::vector<std::string> m_voiceFiles;

    // The application's commands and the document's part in the frame.
    CommandState OnUpdateCommand(int id) const override;
    void OnCommand(int id) override;
    std::string DocumentTitle() const override;
    bool SaveModified() override;

private:
    void ReadDirectories();
    void CreateFrame(CVolumeCtrl* volume, ISoundPlayer* player);
    bool OpenCommandLineDocument(const std::vector<std::string>& arguments);
    void OnFileNew();
    void OnFileOpen();
    void OpenDocumentFile(const std::string& path);
    bool DoFileSave();
    bool DoSaveAs();
    void OnFileSaveAs();
    void OnBatchConvert();
    void OnAppAbout();
    // New Voice's menu: the voice files, and a new one added and chosen through the frame.
    const std::vector<std::string>& VoiceFiles() const override { return m_voiceFiles; }
    void AddAndChooseVoice(const std::string& entry) override;
    // ListeningTestCommands.cpp: Tools > Listening Test (empty, or with a .qexp file) and
    // Tools > Test Results.
    void OnListeningTest() { OpenListeningTest(""); }
    void OpenListeningTest(const std::string& path);
    void OnTestResults();
    void OnInitialUpdate();

    std::optional<DesktopFolders> m_desktop;
    std::string m_tempFolder; // read at start-up for the view's "temp.wav"
    int m_startFailureStatus = 1;
    std::unique_ptr<CTundrelDoc> m_pDoc;
    std::unique_ptr<CWaveOutVolumeCtrl> m_pOwnVolume;
    std::unique_ptr<CSoundPlayer> m_pOwnPlayer;
    CVolumeCtrl* m_pVolume;
    ISoundPlayer* m_pPlayer;
    // Declared last so it goes first: the view borrows the document, volume and player.
    std::unique_ptr<CMainFrame> m_pFrame;
    CTundrelView* m_pView = nullptr;
};
