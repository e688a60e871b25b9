// The vowel chart view: draws the chart, turns clicks into vowels and plays them.
#pragma once

#include "view/ActionLog.h"
#include "view/ChartGeometry.h"
#include "view/CommandIds.h"

#include <QFont>
#include <QRect>
#include <QString>
#include <QWidget>

#include <string>
#include <vector>

class CTundrelDoc;
class CVolumeCtrl;
class CWaveListDlg;
class ISoundPlayer;
class QLabel;
class QListWidget;
class QPainter;
class QPushButton;
class QSlider;
struct VowelEntry;

// The chart view of the main window. Client area: the control column (x 0..50), the chart
// (50, 0, 430, 385) and the advanced controls (x 430..472). A change of what the chart shows
// marks it to be played; the paint that follows draws it, synthesizes the selected point
// into "temp.wav" and plays it. Repaints the toolkit makes for its own reasons (focus,
// activation, menus and boxes over the window, exposes) only draw.
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

    // --- Wave list window (ViewWaveList.cpp) ----------------------------------------------
    // Opens the window, or closes it while it is open.
    void ToggleWaveList();
    bool IsWaveListOpen() const;
    // Plays the entry selected in the wave list window (while it is closed: the one that
    // was selected when it closed).
    void PlayWaveFile();
    // A request of the wave list window (WaveListRequest): close it, or a new vowel volume.
    void OnWaveListMessage(int request, int value);
    // The wave list, made on first use; it lives as long as the view.
    CWaveListDlg* WaveList();
    // The volume applied to the output line before every synthesized vowel.
    int VowelVolume() const { return m_nVolume; }

    // --- Selection and playback ---------------------------------------------------------
    void SelectVowel();
    void PlayCurrent();
    void SaveVowel();
    void ResetVowel();
    void FillVowelList();
    // Left and right button presses at a client point.
    void OnLButtonDown(int px, int py);
    void OnRButtonDown(int px, int py);

    // --- Sliders --------------------------------------------------------------------------
    int GetDuration() const;
    void SetDuration(int duration);
    int GetF3();
    void SetF3(int f3);

    // --- State, for the frame and the tests -----------------------------------------------
    ChartScale Scale() const;
    ChartPoint SelectedPoint() const { return {m_nSelX, m_nSelY}; }
    ChartPoint DiphthongPoint() const { return {m_nDiphX, m_nDiphY}; }
    int F1() const { return m_nF1; }
    int F2() const { return m_nF2; }
    int Gender() const { return m_nGender; }
    int VowelType() const { return m_nVowelType; }
    int VowelSet() const { return m_nVowelSet; }
    int GridWidth() const { return m_nGridWidth; }
    int FemaleTilt() const { return m_nFemaleTilt; }
    int CircleAngle() const { return m_nCircleAngle; }
    int CircleRadius() const { return m_nCircleRadius; }
    int CircleStepWidth() const { return m_nCircleStep; }
    int Duration() const { return m_nDuration; }
    bool IsLogging() const { return m_log.IsOn(); }
    bool HasSymbolFont() const { return m_bSymbolFont; }
    const std::string& VoiceFile() const { return m_strVoiceFile; }
    const QString& StatusText() const { return m_strStatus; }
    QListWidget* VowelList() const { return m_pVowelList; }
    QSlider* LengthSlider() const { return m_pLengthSlider; }
    QSlider* F3Slider() const { return m_pF3Slider; }
    QLabel* LengthValue() const { return m_pLengthValue; }
    QLabel* F3Value() const { return m_pF3Value; }
    QPushButton* SetButton() const { return m_pSetButton; }
    // Circle-mode offsets (dx, dy) of the current radius and angle.
    ChartPoint CircleOffsets() const;

signals:
    void statusTextChanged(const QString& text);
    void requiredSizeChanged();
    void commandStatesChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    // Construction (TundrelView.cpp)
    void ReadOptions();
    void ActivateVolume();

    // Controls (ViewControls.cpp)
    void CreateControls();
    void CreateSliders();
    void CreateLabels();
    void CreateVowelList();
    void ShowAdvancedControls();
    void OnSliderMoved(QSlider* slider);

    // Drawing (ChartDrawing.cpp)
    void OnDraw(QPainter& painter);
    void DrawGrid(QPainter& painter);
    void DrawSymbol(QPainter& painter, const char* symbol, int f1, int f2);
    void DrawGrayMap(QPainter& painter);
    void DrawFormantMap(QPainter& painter);
    void DrawUserMap(QPainter& painter);
    void DrawModifiedMap(QPainter& painter);
    QPoint Anchor(int f1, int f2) const;

    // Selection and playback (ViewSelection.cpp)
    void DrawSelection(QPainter& painter);
    void PlayOnNextPaint();
    void PlayPaintedPoint();
    void UpdateStatusText();
    void Synthesize(int f1, int f2, int f1End, int f2End);
    void InvalidateMarker();
    void MovePoint(int id);
    void ChangeVowelType(int type);
    bool ListShowsModifiedVowels() const;
    int SelectedRow() const;
    std::string SelectedSymbol() const;
    int ZoomCentreF1() const;
    int ZoomCentreF2() const;
    const VowelEntry* ZoomCentreRecord() const;
    const VowelEntry* PresetTable() const;

    // Commands (ViewCommands.cpp)
    void OnVoice(int id);
    void Redraw();
    void ToggleMap(bool& flag, const char* message);
    void ToggleModifiedVowels();
    void ToggleZoom();
    void SetVowelSet(int set);
    void SetGender(int gender);
    void CircleStep(int direction);
    void ToggleAdvancedControls();
    void ToggleAutoF3();
    bool DoToggleCommand(int id);
    CommandState StateOfToggle(int id) const;

    // Commands that ask first (ViewDialogs.cpp)
    bool DoDialogCommand(int id);
    CommandState StateOfDialogCommand(int id) const;
    void OnZoomParameters();
    void OnDuration();
    void OnFemaleTilt();
    void OnCircleParameters();
    void OnSelectTempPath();

    void OnLogToFile();
    std::string ListEntryBytes(int row) const;

    CTundrelDoc* m_pDoc;
    CVolumeCtrl* m_pVolume;
    ISoundPlayer* m_pPlayer;
    CWaveListDlg* m_pWaveList = nullptr; // a child of the view
    const std::vector<std::string>* m_pVoiceFiles = nullptr;

    // Scale and drawing state
    bool m_bBark = false;
    bool m_bZoom = false;
    int m_nGridWidth = 76;
    bool m_bShowGrid = false;
    bool m_bGrayMap = false;
    bool m_bFormantMap = false;
    bool m_bUserMap = false;
    bool m_bModifiedMap = false;
    bool m_bModifiedVowels = false;
    bool m_bAdvanced = false;
    bool m_bAutoF3 = false;
    bool m_bShowPosition = false;
    QFont m_symbolFont;
    bool m_bSymbolFont = false;
    QFont m_labelFont;

    // Selection and playback state
    int m_nSelX = -1;
    int m_nSelY = 0;
    int m_nDiphX = -1;
    int m_nDiphY = 0;
    int m_nF1 = 0;
    int m_nF2 = 0;
    int m_nF3 = 0;
    int m_nGender = 1;
    int m_nVowelType = 0;
    int m_nVowelSet = 0;
    bool m_bDiphthong = false;
    bool m_bCircle = false;
    int m_nCircleRadius = 16;
    int m_nCircleAngle = 0;
    int m_nCircleStep = 30;
    int m_nDuration = 100;
    int m_nFemaleTilt = 0;
    int m_nVolume = 0;
    int m_nVoiceCommand = 0;
    std::string m_strVoiceFile;
    std::string m_strDataDir;
    QString m_strStatus;
    bool m_bDestroyed = false;
    bool m_bPlayPending = false; // the chart changed: its next paint plays the point
    ActionLog m_log;

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

// The marker and map pictures, by their resource numbers.
constexpr int kPictureSelectedPoint = 139; // red ball, 8 x 8 used
constexpr int kPicturePreset = 140;        // blue dot, 5 x 5 used
constexpr int kPictureStored = 143;        // red dot, 5 x 5 used
constexpr int kPictureEndPoint = 144;      // green ball, 8 x 8 used
constexpr int kPictureGrayMap = 152;       // every preset symbol in light grey, 378 x 380

// Where the marker and map pictures live in the resources, by their numbers.
QString PictureResource(int resourceId);
// Copies the top-left cx x cy pixels of a picture to (x, y).
void DrawBitmap(QPainter& painter, int resourceId, int x, int y, int cx, int cy);
