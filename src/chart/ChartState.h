// The vowel chart's state and its rules, without any widget.
#pragma once

#include "base/MessageBox.h"
#include "chart/ChartGeometry.h"
#include "chart/RecordingLayer.h"
#include "reference/ReferenceChoice.h"

#include <optional>
#include <string>
#include <vector>

class ActionLog;
class CTundrelDoc;
struct VowelEntry;

// A row of the vowel list and the vowel it stands for.
struct VowelRow {
    unsigned char symbol = 0; // the vowel's byte in the IPA font
    int slot = 0;             // its entry in the document: type x 8 + position
    bool modified = false;    // the user has stored a position into it
    bool operator==(const VowelRow&) const = default;
};

// The vowel the chart plays: three formants in Hz gliding to (f1End, f2End) in a diphthong
// (both 0 for a steady vowel), voiced by voiceFile with its spectral tilt.
struct ChartVowel {
    int f1 = 0;
    int f2 = 0;
    int f3 = 0;
    int f1End = 0;
    int f2End = 0;
    int duration = 100; // length of each synthesis frame in ms (1..100)
    int tilt = 0;       // dB above 3 kHz; 0 for the male voice
    std::string voiceFile;
    bool operator==(const ChartVowel&) const = default;
};

// The formants (Hz) the document holds for one vowel.
struct StoredFormants {
    int f1 = 0;
    int f2 = 0;
    int f3 = 0;
    bool operator==(const StoredFormants&) const = default;
};

// What makes the chart play. A change of what the chart shows plays the point as the paint
// that follows draws it (in circle mode the circle point). The Play command, the sliders
// and the duration and tilt dialogs play the formants the last paint computed (in circle
// mode the centre).
enum class PlayTrigger { ChartChange, PlayCommand };

// The symbol maps over the chart.
enum class ChartMap { Gray, Formant, User, Modified };

// The arrow keys.
enum class PointMove { Up, Down, Left, Right };

// One symbol a map puts on the chart: its anchor (the symbol's right end on its baseline)
// in chart coordinates, and the dot centred on it.
struct MapSymbol {
    enum class Dot { None, Preset, Stored };
    ChartPoint anchor;
    unsigned char symbol = 0;
    Dot dot = Dot::None;
};

// Everything the chart's rules act on: the selected point and a diphthong's end point, the
// modes and maps, the scale and zoom grid, the page of the vowel list and which vowel each
// row stands for, the two sliders, the voice, and whether the chart's next paint plays.
// The view draws this state, forwards its input here and plays what it is asked to.
// Coordinates are chart coordinates (client x - 50, client y).
class ChartState {
public:
    // The length slider's positions 1..100 stand for durations 100..1 (top = 100).
    static constexpr int kLengthStepMin = 1;
    static constexpr int kLengthStepMax = 100;
    // The F3 slider's positions 13..34 stand for 1300..3400 Hz.
    static constexpr int kF3StepMin = 13;
    static constexpr int kF3StepMax = 34;
    // Where the F3 slider starts: 2700 Hz, the F3 a click plays until it is moved.
    static constexpr int kF3StartStep = 27;

    // The state reads and writes the vowels of doc, which it borrows.
    explicit ChartState(CTundrelDoc* doc);

    // --- Setting up ---------------------------------------------------------------------
    // Where the selections, plays, stores and resets are logged; nullptr for nowhere.
    void SetActionLog(ActionLog* log) { m_log = log; }
    // The voice file names (name and extension); voice i is entry i. Borrowed.
    void SetVoiceFiles(const std::vector<std::string>* names) { m_voiceFiles = names; }
    // When the window is created: fills the list, selects its first vowel and puts that
    // vowel's preset back.
    void ShowFirstVowel();
    // After New and Open: the first voice of dataDir, primary vowels, the first vowel.
    void InitialUpdate(const std::string& dataDir);

    // --- Scale and zoom -------------------------------------------------------------------
    // Herz or Bark, zoom, grid and the zoom centre, as the conversions read them.
    ChartScale Scale() const;
    bool IsBark() const { return m_bark; }
    void SetBark(bool bark);
    bool IsZoomed() const { return m_zoom; }
    // Zoom on switches the Formant and User Formant Maps off; either way the point moves to
    // where its formants lie under the new scale.
    void ToggleZoom();
    int GridWidth() const { return m_gridWidth; }
    // The point keeps its pixel position; the chart is redrawn when the grid is shown.
    void SetGridWidth(int width);
    bool ShowsGrid() const { return m_showGrid; }
    void ToggleGrid();

    // --- Maps and the list of modified vowels ---------------------------------------------
    bool Shows(ChartMap map) const;
    // The Formant, User Formant and Modified Maps exclude each other and the list of
    // modified vowels, and are refused in zoom mode (the refusal is returned). The Gray Map
    // goes with any of them.
    std::optional<MessageRequest> ToggleMap(ChartMap map);
    bool ShowsModifiedVowels() const { return m_modifiedVowels; }
    // Lists every modified vowel (the maps that exclude it go off) and selects row 0.
    void ToggleModifiedVowels();
    // The vowel list shows the modified vowels of all types (Modified Map or list).
    bool ListsModifiedVowels() const { return m_modifiedMap || m_modifiedVowels; }
    // The symbols a map draws, in drawing order.
    std::vector<MapSymbol> SymbolsOf(ChartMap map) const;

    // --- The point and the diphthong's end point ------------------------------------------
    ChartPoint SelectedPoint() const { return m_point; }
    ChartPoint DiphthongPoint() const { return m_end; }
    // x <= 0 means no point is selected.
    bool HasPoint() const { return m_point.x > 0; }
    // A left click leaves circle mode and selects a point inside the chart (x 1..380, any
    // y), snapped to its grid cell in zoom mode.
    void LeftClick(ChartPoint point);
    // A right click sets the diphthong's end point, in every mode.
    void RightClick(ChartPoint point);
    // One step (5 pixels, a grid cell in zoom mode) within the chart.
    void MovePoint(PointMove move);
    // Puts the point at a chart position as a click there does (circle mode ends, the point
    // is played), but without snapping it to the zoom grid.
    void GoTo(ChartPoint point);

    // --- Modes ----------------------------------------------------------------------------
    bool IsDiphthongMode() const { return m_diphthong; }
    bool IsCircleMode() const { return m_circle; }
    bool IsNormalMode() const { return !m_diphthong && !m_circle; }
    void SetNormalMode();
    void SetDiphthongMode();
    // "<" (+1) and ">" (-1): circle mode on, the angle one step on, kept within 0..360.
    void StepCircle(int direction);
    // The circle dialog's values; circle mode on.
    void SetCircle(int radius, int step);
    int CircleRadius() const { return m_circleRadius; }
    int CircleAngle() const { return m_circleAngle; }
    int CircleStep() const { return m_circleStep; }
    // (dx, dy) of the circle point: it lies at the selected point minus the offsets.
    ChartPoint CircleOffsets() const;

    // --- The vowel list -------------------------------------------------------------------
    const std::vector<VowelRow>& Rows() const { return m_rows; }
    // The selected row, or -1.
    int SelectedRow() const { return m_selectedRow; }
    // Counts the fills of the list, so that whatever shows the rows knows when to renew.
    int ListFills() const { return m_listFills; }
    // The user's choice of row (-1 for none); nothing else happens.
    void SetSelectedRow(int row);
    // Moves the point to the selected vowel's stored position and takes its F3 (and its
    // length where stored); false without a selection.
    bool SelectVowel();
    // Lists the current page, or every modified vowel; keeps the selected row if it exists.
    void FillVowelList();
    // Stores the point into the selected vowel; a refusal is returned.
    std::optional<MessageRequest> SaveVowel();
    // Puts the selected vowel's preset back and moves the point to it; a refusal is returned.
    std::optional<MessageRequest> ResetVowel();
    // Shows page type (0 primary, 1 secondary, 2 further, 3 schwa); refused while the
    // modified vowels are listed, though the type is taken.
    std::optional<MessageRequest> ChangeVowelType(int type);
    int VowelType() const { return m_type; }
    // 1 male, 0 female: the page of that voice and its stored position of the vowel.
    void SetGender(int gender);
    int Gender() const { return m_gender; }
    // 0 "Cardinal", 1 "Native": which of the document's two sets is read and written.
    void SetVowelSet(int set);
    int VowelSet() const { return m_set; }
    // The formants the document holds for the vowel of a row, found as selecting the row
    // finds it; all 0 for a row that does not exist.
    StoredFormants RowFormants(int row) const;
    // A row as the list holds it: the symbol's byte, then 0x97 for a stored vowel; "" for
    // a row that does not exist.
    std::string ListEntry(int row) const;

    // --- The sliders ----------------------------------------------------------------------
    // The F3 slider's position and the value its label shows (which may lie beyond).
    int F3Step() const { return m_f3Step; }
    int ShownF3() const { return m_shownF3; }
    void SetF3(int hz);
    void MoveF3Slider(int step);
    // The length slider's position, its duration (101 - position) and its label.
    int LengthStep() const { return m_lengthStep; }
    int Duration() const { return kLengthStepMax + 1 - m_lengthStep; }
    int ShownDuration() const { return m_shownDuration; }
    void SetDuration(int duration);
    void MoveLengthSlider(int step);
    // The duration last played or entered in the duration dialog.
    int LastDuration() const { return m_lastDuration; }
    // The duration dialog's value: taken and shown on the slider.
    void EnterDuration(int duration);
    bool IsAutoF3() const { return m_autoF3; }
    void ToggleAutoF3();
    // The F3 to use now: the slider's, or in automatic mode the one computed from F1 and
    // F2, which the slider then shows.
    int UpdateF3();

    // --- Voice ----------------------------------------------------------------------------
    // Voice index of the voice files; false (and no change) when there is none.
    bool ChooseVoice(int index);
    int VoiceIndex() const { return m_voiceIndex; }
    const std::string& VoiceFile() const { return m_voiceFile; }
    int FemaleTilt() const { return m_femaleTilt; }
    void SetFemaleTilt(int tilt) { m_femaleTilt = tilt; }

    // --- What else the window shows -------------------------------------------------------
    bool ShowsPosition() const { return m_showPosition; }
    void TogglePosition() { m_showPosition = !m_showPosition; }
    bool ShowsAdvancedControls() const { return m_advanced; }
    void ToggleAdvancedControls();

    // --- Reference vowels and axis labels ---------------------------------------------------
    // Drawn over the chart beside its own vowels. Changing them redraws the chart but does
    // not mark it to be played: what the chart plays has not changed.
    // The reference vowels shown, or nullptr.
    const ReferenceChoice* Reference() const { return m_reference ? &*m_reference : nullptr; }
    void SetReference(std::optional<ReferenceChoice> reference);
    // The ellipse of one standard deviation around each reference vowel's mean.
    bool ShowsReferenceSpread() const { return m_referenceSpread; }
    void SetReferenceSpread(bool shown);
    // Ticks and labels of F1 along the top edge and of F2 along the left edge.
    bool ShowsAxisLabels() const { return m_axisLabels; }
    void SetAxisLabels(bool shown);
    // The reference vowel whose mean is drawn nearest to the chart point (x, y), at most
    // radius pixels away; nullptr when there is none.
    const ReferenceVowel* ReferenceVowelNear(double x, double y, double radius) const;

    // --- Recordings of the wave list ------------------------------------------------------
    // Drawn at their measured F1/F2 when shown; like the reference vowels they redraw the
    // chart without marking it to be played.
    bool ShowsRecordings() const { return m_showRecordings; }
    void SetShowRecordings(bool shown);
    // Each recording's track (its voiced frames) as a thin line, while recordings are shown.
    bool ShowsRecordingTracks() const { return m_recordingTracks; }
    void SetRecordingTracks(bool shown);
    // The wave list's entries in list order, measured or not yet.
    const std::vector<ChartRecording>& Recordings() const { return m_recordings; }
    void SetRecordings(std::vector<ChartRecording> recordings);
    // The wave list's selected entry, highlighted on the chart (-1 for none).
    int SelectedRecording() const { return m_selectedRecording; }
    void SetSelectedRecording(int index);
    // The markers drawn now: none while recordings are not shown.
    std::vector<RecordingMarker> RecordingMarkersShown() const;
    // The recording whose marker is drawn nearest to (x, y), at most radius pixels away;
    // -1 for none.
    int RecordingNear(double x, double y, double radius) const;

    // --- Painting and playing -------------------------------------------------------------
    // The formants of the selected point, as every paint computes them first.
    void ComputeFormants();
    int F1() const { return m_f1; }
    int F2() const { return m_f2; }
    int F3() const { return m_f3; }
    // "F1:.. Hz F2:..Hz F3:.. Hz x:.. y:..", or "Information hidden !".
    std::string StatusText() const;
    // The vowel the chart would play now, or nothing: no point (ChartChange) or no formants
    // computed yet (PlayCommand).
    std::optional<ChartVowel> VowelToPlay(PlayTrigger trigger = PlayTrigger::ChartChange) const;
    // The chart has changed since it was last played: its next paint plays it.
    bool IsPlayPending() const { return m_playPending; }
    // The paint that plays: clears the request, logs the formants and returns the vowel.
    std::optional<ChartVowel> PlayAfterPaint();
    // The Play command: refreshes F3 and the duration and returns the vowel.
    std::optional<ChartVowel> PlayCurrent();
    // True once after a change that redraws the whole chart.
    bool TakeChartRedraw();

private:
    void Redraw();
    void MarkToPlay() { m_playPending = true; }
    void RedrawWithoutPlaying() { m_chartRedraw = true; }
    const VowelEntry* PresetTable() const;
    const VowelEntry* ZoomCentreRecord() const;
    int ZoomCentreF1() const;
    int ZoomCentreF2() const;
    void MovePointTo(int f1, int f2);
    std::string SelectedSymbol() const;

    CTundrelDoc* m_doc;
    ActionLog* m_log = nullptr;
    const std::vector<std::string>* m_voiceFiles = nullptr;

    // Scale, maps and modes
    bool m_bark = false;
    bool m_zoom = false;
    int m_gridWidth = 25;
    bool m_showGrid = false;
    bool m_grayMap = false;
    bool m_formantMap = false;
    bool m_userMap = false;
    bool m_modifiedMap = false;
    bool m_modifiedVowels = false;
    bool m_diphthong = false;
    bool m_circle = false;
    int m_circleRadius = 16;
    int m_circleAngle = 0;
    int m_circleStep = 30;
    bool m_showPosition = false;
    bool m_advanced = false;
    bool m_autoF3 = false;

    // The point and its formants
    ChartPoint m_point{-1, 0};
    ChartPoint m_end{-1, 0};
    int m_f1 = 0;
    int m_f2 = 0;
    int m_f3 = 0;

    // The list
    int m_gender = 1;
    int m_type = 0;
    int m_set = 0;
    std::vector<VowelRow> m_rows;
    int m_selectedRow = -1;
    int m_listFills = 0;

    // Sliders and voice
    int m_f3Step = kF3StartStep;
    int m_shownF3 = 2700;
    int m_lengthStep = kLengthStepMin;
    int m_shownDuration = 100;
    int m_lastDuration = 100;
    int m_femaleTilt = 6;
    int m_voiceIndex = -1;
    std::string m_dataDir;
    std::string m_voiceFile;

    // Beside the chart's own vowels
    std::optional<ReferenceChoice> m_reference;
    bool m_referenceSpread = false;
    bool m_axisLabels = false;
    bool m_showRecordings = false;
    bool m_recordingTracks = false;
    std::vector<ChartRecording> m_recordings;
    int m_selectedRecording = -1;

    bool m_playPending = false;
    bool m_chartRedraw = false;
};
