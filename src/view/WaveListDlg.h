// The wave list window: recorded WAV files kept beside the chart, played at their own volume.
#pragma once

#include <QDialog>
#include <QObject>
#include <QPointer>
#include <QRect>

#include <string>
#include <vector>

class CVolumeCtrl;
class ISoundPlayer;
class QListWidget;
class QPushButton;
class QSlider;

// Control identifiers of the wave list window, kept as the widgets' object names.
enum WaveListControl : int {
    IDC_WAVELIST_CLOSE = 2,
    IDC_WAVELIST_REMOVE = 3,
    IDC_WAVELIST_PLAY = 4,
    IDC_WAVELIST_OPEN = 5,
    IDC_WAVELIST_SAVE = 6,
    IDC_WAVELIST_ADD = 7,
    IDC_WAVELIST_LIST = 1004,
    IDC_WAVELIST_WAV_SLIDER = 1006,
    IDC_WAVELIST_SYNTH_SLIDER = 1007,
};

// The window itself: hands Escape and the title bar's close box to its owner.
class CWaveListWindow : public QDialog {
    Q_OBJECT

public:
    explicit CWaveListWindow(QWidget* parent);

signals:
    void cancelRequested();

protected:
    void reject() override;
    void closeEvent(QCloseEvent* event) override;
};

// The wave list of the chart view. The object lives as long as its owner (the view); its
// window is created and destroyed many times, and the entries, the folder and the "Wav"
// volume stay while it is closed. What it asks of the chart goes out as signals.
class CWaveListDlg : public QObject {
    Q_OBJECT

public:
    // owner: the widget whose main window the window stays beside (may be nullptr).
    CWaveListDlg(QWidget* owner, ISoundPlayer* player);
    ~CWaveListDlg() override;

    // Creates and shows the window docked beside the owner's main window, with the entries
    // in the list and line 0 selected, the "Synth" slider at vowelVolume. Without a usable
    // volume control the sliders are hidden.
    bool Create(CVolumeCtrl* volume, int vowelVolume);
    // Closes the window; it is deleted once control is back in the event loop, so this
    // may be called from one of the window's own handlers.
    void DestroyWindow();
    bool IsWindow() const { return m_window != nullptr; }
    // Moves the window, keeping its size, so that its top-left corner lies at the
    // top-right corner of frameRect (screen coordinates).
    void DockTo(const QRect& frameRect);

    // The buttons and the double click.
    void OnPlay();
    void OnAdd();
    void OnRemove();
    void OnOpen();
    void OnSave();
    // Close button, Escape and close box: asks the owner to close the window (closes it
    // itself when nobody listens).
    void OnCancel();
    // Replaces the entries by those of the list file and shows them; false (after the
    // message) when the file cannot be read, which leaves the entries as they were.
    bool OpenList(const std::string& path);
    // Adds a recording at the end of the list (shown and selected while the window is open).
    void AddRecording(const std::string& path);

    // Marks entries that are not drawn on the chart: marks[i] is appended to line i's text
    // and tips[i] becomes its tooltip ("" for none). Kept while the window is closed; fewer
    // marks than entries leave the rest unmarked.
    void SetMarks(std::vector<std::string> marks, std::vector<std::string> tips);

    // --- State, for the view and the tests ------------------------------------------------
    const std::vector<std::string>& Files() const { return m_files; }
    const std::string& Directory() const { return m_strDir; }
    int WavVolume() const { return m_nWavVolume; }
    // The selected line, or -1 (while closed: the line selected when the window closed).
    int SelectedIndex() const;
    QDialog* Window() const { return m_window; }
    QListWidget* List() const { return m_list; }
    QSlider* WavSlider() const { return m_wavSlider; }
    QSlider* SynthSlider() const { return m_synthSlider; }

signals:
    // Close the window: the Close button, Escape or the close box.
    void closeRequested();
    // The "Synth" slider moved: the volume of the synthesized vowels.
    void vowelVolumeChanged(int volume);
    // Space in the window: the chart's play command.
    void vowelPlayRequested();
    // A line of the list was selected: the full path of its recording.
    void recordingSelected(const std::string& path);
    // Entries were added, removed or replaced by a list file.
    void entriesChanged();

private:
    void CreateControls();
    QPushButton* AddButton(int id, const char* text, int x, int y);
    QSlider* AddSlider(int id, int x, int y);
    void AddLabel(const char* text, int x, int y, int cx, int cy);
    void SetUpSliders(int vowelVolume);
    void Refill();
    void ShowMark(int row);
    void AddLine(const std::string& path);
    void RememberDirectory(const std::string& chosenFile);
    // The folder of the window's file dialogs, as the settings keep it.
    static std::string StoredFolder();
    static void StoreFolder(const std::string& folder);
    void OnWavSliderMoved(int volume);
    void OnSynthSliderMoved(int volume);

    QWidget* m_pOwner;
    ISoundPlayer* m_pPlayer;
    QPointer<CWaveListWindow> m_window;
    QSlider* m_wavSlider = nullptr;
    QSlider* m_synthSlider = nullptr;
    QListWidget* m_list = nullptr;
    std::vector<std::string> m_files; // full paths, in list order
    std::string m_strDir;             // folder last chosen in one of the window's dialogs
    int m_nWavVolume = 0;             // 0: not yet set
    CVolumeCtrl* m_pVolume = nullptr; // null while the sliders are not available
    int m_nClosedSelection = -1;      // the line selected when the window last closed
    std::vector<std::string> m_marks; // appended to the lines' texts, by line
    std::vector<std::string> m_tips;
};
