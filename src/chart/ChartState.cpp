#include "chart/ChartState.h"

#include "chart/ActionLog.h"
#include "chart/ContinuousScale.h"

#include <cstdio>

namespace {

constexpr int kPointStep = 5;

// A change the chart refuses, and why.
Report Refusal(const char* text, const char* caption, MsgIcon icon = MsgIcon::Information) {
    Report refusal;
    refusal.Fail(text, caption, icon);
    return refusal;
}

} // namespace

ChartState::ChartState(CTundrelDoc* doc) : m_list(doc) {}

void ChartState::ShowFirstVowel() {
    FillVowelList();
    m_list.SetSelectedRow(0);
    // Only the modified map refuses a reset, and the first vowel is shown before any map.
    static_cast<void>(ResetVowel());
}

void ChartState::InitialUpdate(const std::string& dataDir) {
    m_sound.SetDataDir(dataDir);
    m_sound.ChooseVoice(0);
    m_list.SetType(VowelType::Primary);
    FillVowelList();
    m_list.SetSelectedRow(0);
    SelectVowel();
}

// --- Scale and zoom ------------------------------------------------------------------------

ChartScale ChartState::Scale() const {
    ChartScale scale;
    scale.bark = m_shown.IsBark();
    scale.zoom = m_shown.IsZoomed();
    scale.gridWidth = m_shown.GridWidth();
    if (scale.zoom) {
        const std::optional<StoredFormants> centre = m_list.ZoomCentre();
        scale.centreF1 = centre ? centre->f1 : kF1Axis.herzOrigin;
        scale.centreF2 = centre ? centre->f2 : kF2Axis.herzOrigin;
    }
    return scale;
}

void ChartState::ToggleZoom() {
    m_shown.SetZoom(!m_shown.IsZoomed());
    // The point keeps its frequencies under the new scale.
    MovePointTo(m_decision.F1(), m_decision.F2());
}

// --- Maps ----------------------------------------------------------------------------------

Report ChartState::ToggleMap(ChartMap map) {
    Report refusal = m_shown.ToggleMap(map);
    if (refusal.Ok() && map != ChartMap::Gray)
        FillVowelList();
    return refusal;
}

void ChartState::ToggleModifiedVowels() {
    m_shown.ToggleModifiedVowels();
    FillVowelList();
    m_list.SetSelectedRow(0);
}

std::vector<MapSymbol> ChartState::SymbolsOf(ChartMap map) const {
    return m_list.SymbolsOf(map, Scale());
}

// --- The point -----------------------------------------------------------------------------

ChartPoint ChartState::PointOf(int f1, int f2) const {
    const ChartScale scale = Scale();
    return {FrequencyToX(scale, f1), FrequencyToY(scale, f2)};
}

void ChartState::MovePointTo(int f1, int f2) {
    m_selection.MoveTo(PointOf(f1, f2));
}

void ChartState::LeftClick(ChartPoint point) {
    m_selection.LeaveCircle();
    if (!(point.x > 0 && point.x <= kChartWidth))
        return;
    m_selection.Place(m_shown.IsZoomed() ? SnapToGrid(point, m_shown.GridWidth()) : point);
}

void ChartState::RightClick(ChartPoint point) {
    m_selection.SetEndPoint(m_shown.IsZoomed() ? SnapToGrid(point, m_shown.GridWidth()) : point);
}

void ChartState::MovePoint(PointMove move) {
    m_selection.Move(move, m_shown.IsZoomed() ? m_shown.GridWidth() : kPointStep);
}

// --- The vowel list ------------------------------------------------------------------------

void ChartState::TakeStored(const StoredVowel& vowel) {
    m_sound.SetF3(vowel.formants.f3);
    if (vowel.duration)
        m_sound.SetDuration(*vowel.duration);
}

bool ChartState::SelectVowel() {
    const std::optional<StoredVowel> vowel = m_list.SelectedVowel();
    if (!vowel)
        return false;
    if (m_log)
        m_log->VowelSelected(m_list.ListEntry(m_list.SelectedRow()));
    MovePointTo(vowel->formants.f1, vowel->formants.f2);
    TakeStored(*vowel);
    m_decision.Play();
    return true;
}

void ChartState::FillVowelList() {
    m_list.Fill(m_shown.ListsModifiedVowels());
}

Report ChartState::SaveVowel() {
    if (m_shown.Shows(ChartMap::Modified))
        return Refusal("Can't save while showing modified Map!", "Sorry");
    const ChartScale scale = Scale();
    const ChartPoint point = m_selection.SelectedPoint();
    const int f1 = XToFrequency(scale, point.x);
    const int f2 = YToFrequency(scale, point.y);
    const int f3 = UpdateF3();
    const int duration = m_sound.Duration();
    if (m_list.SelectedRow() < 0)
        return Refusal("Please first choose Position\n to store Vowel to !", "Warning",
                       MsgIcon::Warning);
    if (m_log)
        m_log->Saved();
    m_list.Store(f1, f2, f3, duration);
    FillVowelList();
    return {};
}

Report ChartState::ResetVowel() {
    if (m_shown.Shows(ChartMap::Modified))
        return Refusal("Can't initialize while showing modified Map!", "Sorry");
    const std::optional<StoredFormants> preset = m_list.ResetSelected();
    if (!preset)
        return {};
    if (m_log)
        m_log->Reset();
    MovePointTo(preset->f1, preset->f2);
    m_sound.SetF3(preset->f3);
    m_sound.SetDuration(100);
    FillVowelList();
    m_decision.Redraw();
    return {};
}

Report ChartState::ChangeVowelType(VowelType type) {
    m_list.SetType(type);
    if (m_shown.ListsModifiedVowels())
        return Refusal("All modified Vowels are shown. There are no other pages.", "Sorry");
    const int row = m_list.SelectedRow();
    FillVowelList();
    if (!m_shown.IsZoomed()) {
        m_list.SetSelectedRow(-1);
    } else if (row >= 0 && static_cast<size_t>(row) < m_list.Rows().size()) {
        // The vowel on the same row of the new page, where the user has put it.
        const StoredFormants stored = m_list.RowFormants(row);
        MovePointTo(stored.f1, stored.f2);
        m_sound.SetF3(stored.f3);
    }
    m_decision.Redraw();
    return {};
}

void ChartState::SetGender(Gender gender) {
    m_list.SetGender(gender);
    FillVowelList();
    SelectVowel();
    m_decision.Redraw();
}

void ChartState::SetVowelSet(VowelSet set) {
    m_list.SetSet(set);
    FillVowelList();
    m_decision.Redraw();
}

// --- Computing and playing -----------------------------------------------------------------

int ChartState::UpdateF3() {
    return m_sound.UpdateF3(m_decision.F1(), m_decision.F2());
}

void ChartState::ComputeFormants() {
    if (!m_selection.HasPoint())
        return;
    const ChartScale scale = Scale();
    const ChartPoint point = m_selection.SelectedPoint();
    const int f1 = XToFrequency(scale, point.x);
    const int f2 = YToFrequency(scale, point.y);
    m_decision.SetFormants(f1, f2, m_sound.UpdateF3(f1, f2));
}

std::string ChartState::StatusText() const {
    if (!m_shown.ShowsPosition())
        return "Information hidden !";
    const ChartPoint point = m_selection.SelectedPoint();
    char text[128];
    std::snprintf(text, sizeof text, "F1:%d Hz F2:%dHz F3:%d Hz x:%d y:%d", m_decision.F1(),
                  m_decision.F2(), m_decision.F3(), point.x, point.y);
    return text;
}

std::optional<ChartVowel> ChartState::VowelToPlay(PlayTrigger trigger) const {
    const ChartScale scale = Scale();
    const ChartPoint point = m_selection.SelectedPoint();
    const ChartPoint end = m_selection.DiphthongPoint();
    ChartVowel vowel;
    if (trigger == PlayTrigger::PlayCommand) {
        if (m_decision.F1() <= 0)
            return std::nullopt;
        vowel.f1 = m_decision.F1();
        vowel.f2 = m_decision.F2();
    } else {
        if (!m_selection.HasPoint())
            return std::nullopt;
        vowel.f1 = XToFrequency(scale, point.x);
        vowel.f2 = YToFrequency(scale, point.y);
    }
    vowel.f3 = m_sound.F3For(vowel.f1, vowel.f2);
    if (m_selection.IsDiphthongMode() && end.x > 0) {
        vowel.f1End = XToFrequency(scale, end.x);
        vowel.f2End = YToFrequency(scale, end.y);
    } else if (m_selection.IsCircleMode() && trigger == PlayTrigger::ChartChange) {
        const ChartPoint offset = m_selection.CircleOffsets();
        vowel.f1 = XToFrequency(scale, point.x - offset.x);
        vowel.f2 = YToFrequency(scale, point.y - offset.y);
    }
    vowel.duration = m_sound.Duration();
    vowel.tilt = m_list.VoiceGender() == Gender::Male ? 0 : m_sound.FemaleTilt();
    vowel.voiceFile = m_sound.VoiceFile();
    return vowel;
}

std::optional<ChartVowel> ChartState::TakeChangeToPlay() {
    if (!m_decision.TakePlay() || !m_selection.HasPoint())
        return std::nullopt;
    if (m_log)
        m_log->Formants(m_decision.F1(), m_decision.F2(), m_decision.F3());
    m_sound.SetLastDuration(m_sound.Duration());
    return VowelToPlay(PlayTrigger::ChartChange);
}

std::optional<ChartVowel> ChartState::PlayCurrent() {
    m_sound.SetLastDuration(m_sound.Duration());
    m_decision.SetF3(UpdateF3());
    return VowelToPlay(PlayTrigger::PlayCommand);
}

bool ChartState::TakeChartRedraw() {
    const bool overlays = m_shown.TakeOverlayChange();
    return m_decision.TakeChartRedraw() || overlays;
}
