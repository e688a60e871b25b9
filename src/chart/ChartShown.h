// What the chart shows: the scale and the zoom grid, the symbol maps, the reference vowels
// and axis labels, the status and advanced controls, and the layers over the chart.
#pragma once

#include "base/Report.h"
#include "chart/ChartLayer.h"
#include "chart/RecordingLayer.h"
#include "reference/ReferenceChoice.h"

#include <memory>
#include <optional>
#include <vector>

class PlayDecision;

// The symbol maps over the chart.
enum class ChartMap { Gray, Formant, User, Modified };

// Changes of the scale, the zoom, the grid, the maps and the controls redraw the chart and
// play it; the reference vowels, the axis labels and the layers only redraw it.
class ChartShown {
public:
    // Starts with one layer, the recordings of the wave list.
    explicit ChartShown(PlayDecision& changes);
    ChartShown(const ChartShown&) = delete;
    ChartShown& operator=(const ChartShown&) = delete;

    // --- Scale and zoom ---------------------------------------------------------------------
    bool IsBark() const { return m_bark; }
    void SetBark(bool bark);
    bool IsZoomed() const { return m_zoom; }
    // Zoom on switches the Formant and User Formant Maps off.
    void SetZoom(bool zoom);
    int GridWidth() const { return m_gridWidth; }
    // The point keeps its pixel position; the chart is redrawn when the grid is shown.
    void SetGridWidth(int width);
    bool ShowsGrid() const { return m_showGrid; }
    void ToggleGrid();

    // --- Maps and the list of modified vowels -----------------------------------------------
    bool Shows(ChartMap map) const;
    // The Formant, User Formant and Modified Maps exclude each other and the list of
    // modified vowels, and are refused in zoom mode (the refusal is returned). The Gray Map
    // goes with any of them.
    Report ToggleMap(ChartMap map);
    bool ShowsModifiedVowels() const { return m_modifiedVowels; }
    // The list of every modified vowel (the maps that exclude it go off), or the page again.
    void ToggleModifiedVowels();
    // The vowel list shows the modified vowels of all types (Modified Map or list).
    bool ListsModifiedVowels() const { return m_modifiedMap || m_modifiedVowels; }

    // --- What else the window shows ---------------------------------------------------------
    bool ShowsPosition() const { return m_showPosition; }
    void TogglePosition() { m_showPosition = !m_showPosition; }
    bool ShowsAdvancedControls() const { return m_advanced; }
    void ToggleAdvancedControls();

    // --- Reference vowels and axis labels ---------------------------------------------------
    // Drawn over the chart beside its own vowels.
    // The reference vowels shown, or nullptr.
    const ReferenceChoice* Reference() const { return m_reference ? &*m_reference : nullptr; }
    void SetReference(std::optional<ReferenceChoice> reference);
    // The ellipse of one standard deviation around each reference vowel's mean.
    bool ShowsReferenceSpread() const { return m_referenceSpread; }
    void SetReferenceSpread(bool shown);
    // Ticks and labels of F1 along the top edge and of F2 along the left edge.
    bool ShowsAxisLabels() const { return m_axisLabels; }
    void SetAxisLabels(bool shown);
    // The reference vowel whose mean is drawn nearest to the chart point (x, y) under scale,
    // at most radius pixels away; nullptr when there is none.
    const ReferenceVowel* ReferenceVowelNear(const ChartScale& scale, double x, double y,
                                             double radius) const;

    // --- Layers -----------------------------------------------------------------------------
    // Drawn in list order over the symbol maps, under the point's markers.
    const std::vector<std::unique_ptr<ChartLayer>>& Layers() const { return m_layers; }
    ChartLayer& AddLayer(std::unique_ptr<ChartLayer> layer);
    // The recordings of the wave list, the first layer.
    RecordingLayer& Recordings() { return *m_recordings; }
    const RecordingLayer& Recordings() const { return *m_recordings; }
    // True once after a change of the reference vowels, the axis labels or any layer.
    bool TakeOverlayChange();

private:
    PlayDecision& m_changes;
    bool m_bark = false;
    bool m_zoom = false;
    int m_gridWidth = 25;
    bool m_showGrid = false;
    bool m_grayMap = false;
    bool m_formantMap = false;
    bool m_userMap = false;
    bool m_modifiedMap = false;
    bool m_modifiedVowels = false;
    bool m_showPosition = false;
    bool m_advanced = false;
    std::optional<ReferenceChoice> m_reference;
    bool m_referenceSpread = false;
    bool m_axisLabels = false;
    bool m_overlayChanged = false;
    std::vector<std::unique_ptr<ChartLayer>> m_layers;
    RecordingLayer* m_recordings = nullptr;
};
