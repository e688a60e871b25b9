// The vowel chart's state and its rules, without any widget: five parts, and the rules that
// act on more than one of them.
#pragma once

#include "base/Report.h"
#include "chart/ChartGeometry.h"
#include "chart/ChartSelection.h"
#include "chart/ChartShown.h"
#include "chart/PlayDecision.h"
#include "chart/SoundSettings.h"
#include "chart/VowelList.h"
#include "doc/VowelInventory.h"

#include <optional>
#include <string>

class ActionLog;
class CTundrelDoc;

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

// What makes the chart play. A change of what the chart shows plays the point (in circle
// mode the circle point). The Play command, the sliders and the duration and tilt dialogs
// play the formants last computed (in circle mode the centre).
enum class PlayTrigger { ChartChange, PlayCommand };

// Everything the chart's rules act on, in five parts: the point and its mode (Selection), what
// is shown over the chart and how (Shown, with its layers), the vowel list (List), how the
// vowel sounds besides its formants (Sound) and when the chart plays (Decision). Whoever
// shows the chart reads the parts and changes them directly where a change concerns one part;
// the methods here are the changes that concern several (a click snaps to the zoom grid,
// zooming moves the point, selecting a vowel moves the point and the sliders...).
// The view draws this state, forwards its input here and plays what it is asked to.
// Coordinates are chart coordinates (client x - 50, client y).
class ChartState {
public:
    // The state reads and writes the vowels of doc, which it borrows.
    explicit ChartState(CTundrelDoc* doc);
    ChartState(const ChartState&) = delete;
    ChartState& operator=(const ChartState&) = delete;

    ChartSelection& Selection() { return m_selection; }
    const ChartSelection& Selection() const { return m_selection; }
    ChartShown& Shown() { return m_shown; }
    const ChartShown& Shown() const { return m_shown; }
    VowelList& List() { return m_list; }
    const VowelList& List() const { return m_list; }
    SoundSettings& Sound() { return m_sound; }
    const SoundSettings& Sound() const { return m_sound; }
    const PlayDecision& Decision() const { return m_decision; }

    // --- Setting up ---------------------------------------------------------------------
    // Where the selections, plays, stores and resets are logged; nullptr for nowhere.
    void SetActionLog(ActionLog* log) { m_log = log; }
    // When the window is created: fills the list, selects its first vowel and puts that
    // vowel's preset back.
    void ShowFirstVowel();
    // After New and Open: the first voice of dataDir, primary vowels, the first vowel.
    void InitialUpdate(const std::string& dataDir);

    // --- Scale and zoom -------------------------------------------------------------------
    // Herz or Bark, zoom, grid and the zoom centre (the selected vowel's preset), as the
    // conversions read them.
    ChartScale Scale() const;
    // Zoom on switches the Formant and User Formant Maps off; either way the point moves to
    // where its formants lie under the new scale.
    void ToggleZoom();

    // --- Maps and the list ----------------------------------------------------------------
    // As ChartShown::ToggleMap; a map that changes the list refills it.
    Report ToggleMap(ChartMap map);
    // Lists every modified vowel (the maps that exclude it go off) and selects row 0.
    void ToggleModifiedVowels();
    // The symbols a map draws, in drawing order.
    std::vector<MapSymbol> SymbolsOf(ChartMap map) const;

    // --- The point ------------------------------------------------------------------------
    // A left click leaves circle mode and selects a point inside the chart (x 1..380, any
    // y), snapped to its grid cell in zoom mode.
    void LeftClick(ChartPoint point);
    // A right click sets the diphthong's end point, in every mode.
    void RightClick(ChartPoint point);
    // One step (5 pixels, a grid cell in zoom mode) within the chart.
    void MovePoint(PointMove move);

    // --- The vowel list -------------------------------------------------------------------
    // Moves the point to the selected vowel's stored position and takes its F3 (and its
    // length where stored); false without a selection.
    bool SelectVowel();
    // Lists the current page, or every modified vowel; keeps the selected row if it exists.
    void FillVowelList();
    // Stores the point into the selected vowel; a refusal is returned.
    Report SaveVowel();
    // Puts the selected vowel's preset back and moves the point to it; a refusal is returned.
    Report ResetVowel();
    // Shows the page of a type; refused while the modified vowels are listed, though the
    // type is taken.
    Report ChangeVowelType(VowelType type);
    // The page of that voice and its stored position of the vowel.
    void SetGender(Gender gender);
    // Which of the document's two sets is read and written.
    void SetVowelSet(VowelSet set);

    // --- Computing and playing ------------------------------------------------------------
    // The F3 to use now: the slider's, or in automatic mode the one computed from the last
    // computed F1 and F2, which the slider then shows.
    int UpdateF3();
    // The formants of the selected point under the scale now; in automatic mode F3 follows.
    // Computed after each change, so that what reads them (zoom keeping the point's
    // frequencies, storing with automatic F3, the Play command, the status text) reads the
    // chart as the user last saw it change.
    void ComputeFormants();
    // "F1:.. Hz F2:..Hz F3:.. Hz x:.. y:..", or "Information hidden !".
    std::string StatusText() const;
    // The vowel the chart would play now, or nothing: no point (ChartChange) or no formants
    // computed yet (PlayCommand).
    std::optional<ChartVowel> VowelToPlay(PlayTrigger trigger = PlayTrigger::ChartChange) const;
    // The sound of the changes since the chart last played: clears the request, logs the
    // formants and returns the vowel; nothing when no change asked to be heard, or without a
    // point.
    std::optional<ChartVowel> TakeChangeToPlay();
    // The Play command: refreshes F3 and the duration and returns the vowel.
    std::optional<ChartVowel> PlayCurrent();
    // True once after a change that redraws the whole chart.
    bool TakeChartRedraw();

private:
    ChartPoint PointOf(int f1, int f2) const;
    void MovePointTo(int f1, int f2);
    // Takes a stored vowel's F3 and, where it has one, its length.
    void TakeStored(const StoredVowel& vowel);

    ActionLog* m_log = nullptr;
    PlayDecision m_decision;
    ChartSelection m_selection{m_decision};
    ChartShown m_shown{m_decision};
    VowelList m_list;
    SoundSettings m_sound{m_decision};
};
