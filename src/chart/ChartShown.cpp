#include "chart/ChartShown.h"

#include "chart/ContinuousScale.h"
#include "chart/PlayDecision.h"

#include <cmath>
#include <utility>

namespace {

// A change the chart refuses, and why.
Report Sorry(const char* text) {
    Report refusal;
    refusal.Fail(text, "Sorry", MsgIcon::Information);
    return refusal;
}

} // namespace

ChartShown::ChartShown(PlayDecision& changes) : m_changes(changes) {
    auto recordings = std::make_unique<RecordingLayer>();
    m_recordings = recordings.get();
    m_layers.push_back(std::move(recordings));
}

void ChartShown::SetBark(bool bark) {
    m_bark = bark;
    m_changes.Redraw();
}

void ChartShown::SetZoom(bool zoom) {
    m_zoom = zoom;
    if (m_zoom)
        m_formantMap = m_userMap = false;
    m_changes.Redraw();
}

void ChartShown::SetGridWidth(int width) {
    m_gridWidth = width;
    if (m_showGrid && m_zoom)
        m_changes.Redraw();
}

void ChartShown::ToggleGrid() {
    m_showGrid = !m_showGrid;
    m_changes.Redraw();
}

bool ChartShown::Shows(ChartMap map) const {
    switch (map) {
    case ChartMap::Gray:
        return m_grayMap;
    case ChartMap::Formant:
        return m_formantMap;
    case ChartMap::User:
        return m_userMap;
    case ChartMap::Modified:
        return m_modifiedMap;
    }
    return false;
}

Report ChartShown::ToggleMap(ChartMap map) {
    if (map == ChartMap::Gray) {
        m_grayMap = !m_grayMap;
        m_changes.Redraw();
        return {};
    }
    if (m_zoom)
        return Sorry(map == ChartMap::Formant ? "Can't show Formantmap while Zoom is active."
                                              : "Can't show User-Formantmap while Zoom is active.");
    bool& flag = map == ChartMap::Formant ? m_formantMap
                 : map == ChartMap::User  ? m_userMap
                                          : m_modifiedMap;
    flag = !flag;
    if (flag) {
        for (bool* other : {&m_formantMap, &m_userMap, &m_modifiedMap, &m_modifiedVowels}) {
            if (other != &flag)
                *other = false;
        }
    }
    m_changes.Redraw();
    return {};
}

void ChartShown::ToggleModifiedVowels() {
    m_modifiedVowels = !m_modifiedVowels;
    if (m_modifiedVowels)
        m_formantMap = m_userMap = m_modifiedMap = false;
    m_changes.Redraw();
}

void ChartShown::ToggleAdvancedControls() {
    m_advanced = !m_advanced;
    m_changes.Redraw();
}

void ChartShown::SetReference(std::optional<ReferenceChoice> reference) {
    m_reference = std::move(reference);
    m_overlayChanged = true;
}

void ChartShown::SetReferenceSpread(bool shown) {
    m_referenceSpread = shown;
    m_overlayChanged = true;
}

void ChartShown::SetAxisLabels(bool shown) {
    m_axisLabels = shown;
    m_overlayChanged = true;
}

const ReferenceVowel* ChartShown::ReferenceVowelNear(const ChartScale& scale, double x, double y,
                                                     double radius) const {
    if (!m_reference)
        return nullptr;
    const ReferenceVowel* nearest = nullptr;
    double nearestDistance = radius;
    for (const ReferenceVowel& vowel : m_reference->vowels) {
        const double distance = std::hypot(FrequencyToXF(scale, vowel.meanF1) - x,
                                           FrequencyToYF(scale, vowel.meanF2) - y);
        if (distance <= nearestDistance) {
            nearest = &vowel;
            nearestDistance = distance;
        }
    }
    return nearest;
}

ChartLayer& ChartShown::AddLayer(std::unique_ptr<ChartLayer> layer) {
    m_layers.push_back(std::move(layer));
    m_overlayChanged = true;
    return *m_layers.back();
}

bool ChartShown::TakeOverlayChange() {
    bool changed = m_overlayChanged;
    m_overlayChanged = false;
    for (const std::unique_ptr<ChartLayer>& layer : m_layers)
        changed = layer->TakeChange() || changed;
    return changed;
}
