// The vowel chart view: draws the chart's state, forwards input to it and plays its vowels.
#pragma once

#include "analysis/LiveFormants.h"
#include "chart/ActionLog.h"
#include "chart/ChartState.h"
#include "chart/CommandIds.h"
#include "chart/LiveTrace.h"
#include "drawing/ChartDrawing.h"
#include "synth/SynthEngine.h"

#include <QRect>
#include <QString>
#include <QWidget>

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class CFigureController;
class CLiveListener;
struct LiveInbox;
class CSequencePlayer;
class CSpectrumController;
class CSpectrumView;
class CStimulusController;
class CTundrelDoc;
class CVolumeCtrl;
class CWaveListController;
class CWaveListDlg;
class ISoundPlayer;
class QLabel;
class QListWidget;
class QPushButton;
class QSlider;
class QTimer;

// The chart view of the main window. Client area: the control column (x 0..50), the chart
// (50, 0, 430, 385) and the advanced controls (x 430..472). What the chart shows and what it
// plays is decided by its ChartState; the view shows that state in its controls and on the
// chart. A change of what the chart shows asks the state for the point to be heard: once the
// change is shown, the view synthesizes the selected point into "temp.wav" and plays it, after
// the repaint that the change asked for. Painting only draws, so the repaints the toolkit
// makes for its own reasons (focus, activation, menus and boxes over the window, exposes)
// never play.
// The stimuli, the figures, the wave list and the spectrum window are controllers of their
// own that the view owns; the view dispatches the commands to them.
class CTundrelView : public QWidget {
    Q_OBJECT

public:
    // Creates the view with its controls and fonts, reads the stored options, activates the
    // volume control and selects and resets the first vowel. The view borrows all three.
    CTundrelView(CTundrelDoc* doc, CVolumeCtrl* volume, ISoundPlayer* player,
                 QWidget* parent = nullptr);
    ~CTundrelView() override;

    // The application's voice file names (name and extension); entry i is command 200 + i.
    void SetVoiceFiles(const std::vector<std::string>* voiceFiles);
    // After New and Open: first voice, primary vowels, first vowel selected.
    void OnInitialUpdate();
    // Every menu entry and key of the view (and the voices 200..219).
    void OnCommand(int id);
    CommandState OnUpdateCommand(int id) const;
    // 430 x 385, or 472 x 385 while the advanced controls are shown.
    QSize RequiredClientSize() const;
    // The frame moved to frameRect (screen coordinates); docks the wave list window.
    void OnFrameMoved(const QRect& frameRect);
    // Writes the options, releases the synthesizer and puts the output line back as it was
    // found. Runs once; later calls do nothing.
    void OnDestroy();

    // --- Wave list window (WaveListController) ---------------------------------------------
    // Opens the wave list window (when it is closed) holding the entries of the list file.
    void OpenWaveListFile(const std::string& path);
    bool IsWaveListOpen() const;
    // The wave list, made on first use; it lives as long as the view.
    CWaveListDlg* WaveList();
    // --- Spectrum window (SpectrumController) ---------------------------------------------
    bool IsSpectrumOpen() const;
    // The spectrum window's keeper, made on first use; it lives as long as the view.
    CSpectrumView* Spectrum();

    // The volume applied to the output line before every synthesized vowel.
    int VowelVolume() const { return m_nVolume; }

    // --- Selection and playback (ViewSelection.cpp) --------------------------------------
    void SelectVowel();
    void PlayCurrent();
    void SaveVowel();
    void ResetVowel();
    void FillVowelList();
    // Left and right button presses at a client point.
    void OnLButtonDown(int px, int py);
    void OnRButtonDown(int px, int py);

    // --- Sliders --------------------------------------------------------------------------
    int GetDuration() const { return m_state.Sound().Duration(); }
    void SetDuration(int duration);
    // The F3 to play: the slider's, or the automatic one, which the slider then shows.
    int GetF3();
    void SetF3(int f3);

    // --- Stimuli (StimulusController) --------------------------------------------------------
    // The step files of the last continuum made (the whole files of a cancelled one).
    const std::vector<std::string>& ContinuumFiles() const;
    bool IsPlayingContinuum() const;

    // --- Live listening (ViewListening.cpp) ------------------------------------------------
    bool IsListening() const;
    bool IsListeningPaused() const;
    const LiveTrace& Live() const { return m_liveTrace; }
    // Where Keep Last Take saves: the documents folder, or the home folder without one.
    static std::string TakeFolder();

    // --- State, for the frame and the tests -----------------------------------------------
    const ChartState& State() const { return m_state; }
    // The chart's engine: every vowel played carries over into the next, as in one session.
    const SynthEngine& Engine() const { return m_engine; }
    // The folder the played vowels are written to as "temp.wav".
    const std::string& TempFolder() const { return m_engine.OutputFolder(); }
    void SetTempFolder(const std::string& folder) { m_engine.SetOutputFolder(folder); }
    // Makes the chart read its voice file again for the next vowel: a voice file was replaced.
    void ForgetLoadedVoice() { m_engine.Release(); }
    bool IsLogging() const { return m_log.IsOn(); }
    const ChartLook& Look() const { return m_look; }
    const QString& StatusText() const { return m_strStatus; }
    QListWidget* VowelList() const { return m_pVowelList; }
    QSlider* LengthSlider() const { return m_pLengthSlider; }
    QSlider* F3Slider() const { return m_pF3Slider; }
    QLabel* LengthValue() const { return m_pLengthValue; }
    QLabel* F3Value() const { return m_pF3Value; }
    QPushButton* SetButton() const { return m_pSetButton; }

signals:
    void statusTextChanged(const QString& text);
    void requiredSizeChanged();
    void commandStatesChanged();

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void customEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    // Construction (TundrelView.cpp)
    void ReadOptions();
    void WriteOptions();
    void ActivateVolume();

    // Controls (ViewControls.cpp)
    void CreateControls();
    void CreateSliders();
    void CreateLabels();
    void CreateVowelList();
    void ShowAdvancedControls();
    void OnSliderMoved(QSlider* slider);
    void OnListRowChosen();
    int ListRow() const;
    // Shows the state in the controls and repaints the chart when it has changed; a change
    // that asks to be heard is played after that repaint.
    void ShowState();
    // Computes the point's formants after a change and shows F3 and the status text.
    void ShowFormants();
    void ShowVowelList();
    void ShowSliders();

    // Selection and playback (ViewSelection.cpp)
    void InvalidateMarker();
    void UpdateStatusText();
    // Plays the change once the event loop has shown it (posted behind the repaint).
    void PostChangeSound();
    void PlayChange();
    void Synthesize(const ChartVowel& vowel);
    void OnGoToFormants();
    // Shows text in the status bar in place of the point's values until the next vowel is
    // played; "" shows the values again.
    void ShowNotice(const QString& text);

    // Commands (ViewCommands.cpp)
    bool RunViewCommand(int id);
    void MovePoint(int id);
    void ToggleAdvancedControls();

    // Commands that ask first (ViewDialogs.cpp)
    bool DoDialogCommand(int id);
    void OnZoomParameters();
    void OnDuration();
    void OnFemaleTilt();
    void OnCircleParameters();
    void OnSelectTempPath();
    void OnLogToFile();

    // The controllers' signals to the view.
    void ConnectControllers();

    // Live listening (ViewListening.cpp)
    bool RunListeningCommand(int id);
    CommandState ListeningCommandState(int id) const;
    void StartListening();
    void StopListening();
    void OnLiveFrame(const LiveFrame& frame);
    // At most 60 times a second while listening: takes the frames that came and redraws,
    // pauses listening while the program's own sound plays, notices a microphone that went
    // away.
    void TickListening();
    // Before one of the program's own sounds starts.
    void PauseListeningForOwnSound();
    void KeepLastTake();
    // F0, F1, F2 and the level meter for the status bar while listening; "" otherwise.
    QString LiveStatusText() const;

    ActionLog m_log;
    ChartState m_state;
    SynthEngine m_engine;
    CVolumeCtrl* m_pVolume;
    CSequencePlayer* m_pSequence = nullptr; // plays everything through the given player
    ISoundPlayer* m_pPlayer = nullptr;      // m_pSequence, or nullptr without a player
    ChartLook m_look;
    QFont m_labelFont;
    int m_nVolume = 0;
    QString m_strStatus;
    QString m_strNotice;        // shown in place of m_strStatus while not empty
    int m_nShownListFills = -1; // the fill of the list that its rows show
    bool m_bDestroyed = false;
    bool m_bChangeSoundPosted = false;    // a change's sound waits in the event loop
    bool m_bPainted = false;              // the view has been painted at least once
    bool m_bSoundAfterFirstPaint = false; // a change's sound waits for that first paint

    // Declared after the state and the look they borrow, so that they go first.
    std::unique_ptr<CStimulusController> m_stimuli;
    std::unique_ptr<CFigureController> m_figures;
    std::unique_ptr<CWaveListController> m_waveList;
    std::unique_ptr<CSpectrumController> m_spectrum;

    // Live listening
    std::shared_ptr<CLiveListener> m_pListener; // since the first Listen, for its last take
    std::shared_ptr<LiveInbox> m_pLiveInbox;    // the frames come in here
    LiveTrace m_liveTrace;
    QTimer* m_pLiveTimer = nullptr;
    LiveFrame m_liveFrame;        // the newest frame
    bool m_bLiveChanged = false;  // frames came since the last redraw
    double m_liveClippedAtS = -1; // when the input last clipped, on the input's clock
    std::chrono::steady_clock::time_point m_liveResumeAt;

    // Child controls
    QPushButton* m_pSetButton = nullptr;
    QListWidget* m_pVowelList = nullptr;
    QPushButton* m_pSaveButton = nullptr;
    QPushButton* m_pResetButton = nullptr;
    QSlider* m_pLengthSlider = nullptr;
    QLabel* m_pLengthValue = nullptr;
    QLabel* m_pLengthCaption = nullptr;
    QSlider* m_pF3Slider = nullptr;
    QLabel* m_pF3Value = nullptr;
    QLabel* m_pF3Caption = nullptr;
};
