#include "chart/ChartState.h"

#include "chart/ActionLog.h"
#include "chart/ContinuousScale.h"
#include "doc/TundrelDoc.h"
#include "doc/VowelInventory.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

// Degrees to radians as the circle mode has always computed it (slightly below pi / 180).
constexpr double kDegreeFactor = 0.01745294277777778;
constexpr int kPointStep = 5;
constexpr int kFullCircle = 360;
// Follows the symbol of a stored vowel in the list's entry, as the exports write it.
constexpr char kModifiedMarkByte = '\x97';

unsigned char FirstByte(const char* symbol) {
    return symbol ? static_cast<unsigned char>(symbol[0]) : 0;
}

// The first slot, in type and record order, whose symbol starts with fontByte; -1 if none.
int SlotOfSymbol(unsigned char fontByte) {
    for (int type = 0; type < kTypeCount; ++type) {
        for (int position = 0; position < kPositionsPerType; ++position) {
            if (FirstByte(kPresetVowels[kMale][type][position].symbol) == fontByte)
                return SlotOf(type, position);
        }
    }
    return -1;
}

const VowelEntry& PresetOfSlot(int gender, int slot) {
    return kPresetVowels[gender == kMale ? kMale : kFemale][slot / kPositionsPerType]
                        [slot % kPositionsPerType];
}

MessageRequest Notice(const char* text, const char* caption, MsgIcon icon = MsgIcon::Information) {
    MessageRequest notice;
    notice.text = text;
    notice.caption = caption;
    notice.icon = icon;
    return notice;
}

} // namespace

ChartState::ChartState(CTundrelDoc* doc) : m_doc(doc) {}

void ChartState::ShowFirstVowel() {
    FillVowelList();
    SetSelectedRow(0);
    ResetVowel();
}

void ChartState::InitialUpdate(const std::string& dataDir) {
    m_dataDir = dataDir;
    ChooseVoice(0);
    m_type = 0;
    FillVowelList();
    SetSelectedRow(0);
    SelectVowel();
}

// --- Scale and zoom ------------------------------------------------------------------------

ChartScale ChartState::Scale() const {
    ChartScale scale;
    scale.bark = m_bark;
    scale.zoom = m_zoom;
    scale.gridWidth = m_gridWidth;
    if (m_zoom) {
        scale.centreF1 = ZoomCentreF1();
        scale.centreF2 = ZoomCentreF2();
    }
    return scale;
}

const VowelEntry* ChartState::PresetTable() const {
    return kPresetVowels[m_gender == kMale ? kMale : kFemale][m_type];
}

std::string ChartState::SelectedSymbol() const {
    if (m_selectedRow < 0)
        return std::string();
    return std::string(1, static_cast<char>(m_rows[static_cast<size_t>(m_selectedRow)].symbol));
}

// The preset record that zoom mode centres on, or nullptr without a list selection.
const VowelEntry* ChartState::ZoomCentreRecord() const {
    if (m_selectedRow < 0)
        return nullptr;
    // A list of modified vowels (also the one the Modified Map shows) mixes all types: its
    // rows are found by their symbols, not as positions in the current type's table.
    if (!ListsModifiedVowels())
        return &PresetTable()[m_selectedRow];
    const int slot = SlotOfSymbol(static_cast<unsigned char>(SelectedSymbol()[0]));
    if (slot < 0)
        return &kPresetVowels[kMale][0][0];
    return &PresetOfSlot(m_gender, slot);
}

int ChartState::ZoomCentreF1() const {
    const VowelEntry* record = ZoomCentreRecord();
    return record ? record->f1 : kF1Axis.herzOrigin;
}

int ChartState::ZoomCentreF2() const {
    const VowelEntry* record = ZoomCentreRecord();
    return record ? record->f2 : kF2Axis.herzOrigin;
}

void ChartState::SetBark(bool bark) {
    m_bark = bark;
    Redraw();
}

void ChartState::ToggleZoom() {
    m_zoom = !m_zoom;
    if (m_zoom)
        m_formantMap = m_userMap = false;
    // The point keeps its frequencies under the new scale.
    MovePointTo(m_f1, m_f2);
    Redraw();
}

void ChartState::SetGridWidth(int width) {
    m_gridWidth = width;
    if (m_showGrid && m_zoom)
        Redraw();
}

void ChartState::ToggleGrid() {
    m_showGrid = !m_showGrid;
    Redraw();
}

// --- Maps ----------------------------------------------------------------------------------

bool ChartState::Shows(ChartMap map) const {
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

std::optional<MessageRequest> ChartState::ToggleMap(ChartMap map) {
    if (map == ChartMap::Gray) {
        m_grayMap = !m_grayMap;
        Redraw();
        return std::nullopt;
    }
    if (m_zoom)
        return Notice(map == ChartMap::Formant ? "Can't show Formantmap while Zoom is active."
                                               : "Can't show User-Formantmap while Zoom is active.",
                      "Sorry");
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
    FillVowelList();
    Redraw();
    return std::nullopt;
}

void ChartState::ToggleModifiedVowels() {
    m_modifiedVowels = !m_modifiedVowels;
    if (m_modifiedVowels)
        m_formantMap = m_userMap = m_modifiedMap = false;
    FillVowelList();
    SetSelectedRow(0);
    Redraw();
}

std::vector<MapSymbol> ChartState::SymbolsOf(ChartMap map) const {
    std::vector<MapSymbol> symbols;
    const ChartScale scale = Scale();
    auto add = [&](const char* symbol, int f1, int f2, MapSymbol::Dot dot) {
        symbols.push_back(
            {{FrequencyToX(scale, f1), FrequencyToY(scale, f2)}, FirstByte(symbol), dot});
    };
    const VowelEntry* table = PresetTable();
    switch (map) {
    case ChartMap::Gray: // every record of the voice's four types, the blank ones too
        for (int type = 0; type < kTypeCount; ++type) {
            for (int position = 0; position < kPositionsPerType; ++position) {
                const VowelEntry& record = kPresetVowels[m_gender][type][position];
                add(record.symbol, record.f1, record.f2, MapSymbol::Dot::None);
            }
        }
        break;
    case ChartMap::Formant: // the presets of the page
        for (const VowelEntry* record = table; record->f1 != 0; ++record)
            add(record->symbol, record->f1, record->f2, MapSymbol::Dot::Preset);
        break;
    case ChartMap::User: // the stored positions of the page
        for (int position = 0; table[position].f1 != 0; ++position) {
            const int slot = SlotOf(m_type, position);
            add(table[position].symbol, m_doc->GetEntryF1(slot, m_gender, m_set),
                m_doc->GetEntryF2(slot, m_gender, m_set), MapSymbol::Dot::Stored);
        }
        break;
    case ChartMap::Modified: // every modified vowel
        for (int type = 0; type < kTypeCount; ++type) {
            for (int position = 0; position < kPositionsPerType; ++position) {
                const int slot = SlotOf(type, position);
                if (m_doc->IsEntryModified(slot, m_gender, m_set))
                    add(kPresetVowels[kMale][type][position].symbol,
                        m_doc->GetEntryF1(slot, m_gender, m_set),
                        m_doc->GetEntryF2(slot, m_gender, m_set), MapSymbol::Dot::Stored);
            }
        }
        break;
    }
    return symbols;
}

// --- The point -----------------------------------------------------------------------------

void ChartState::MovePointTo(int f1, int f2) {
    const ChartScale scale = Scale();
    m_point = {FrequencyToX(scale, f1), FrequencyToY(scale, f2)};
}

void ChartState::LeftClick(ChartPoint point) {
    if (m_circle) {
        m_circle = false;
        Redraw();
    }
    if (!(point.x > 0 && point.x <= kChartWidth))
        return;
    m_point = m_zoom ? SnapToGrid(point, m_gridWidth) : point;
    // The line to the end point must be redrawn.
    if (m_diphthong)
        Redraw();
    MarkToPlay();
}

void ChartState::RightClick(ChartPoint point) {
    m_end = m_zoom ? SnapToGrid(point, m_gridWidth) : point;
    Redraw();
}

void ChartState::MovePoint(PointMove move) {
    const int step = m_zoom ? m_gridWidth : kPointStep;
    switch (move) {
    case PointMove::Up:
        m_point.y = std::max(m_point.y - step, 0);
        break;
    case PointMove::Down:
        m_point.y += step;
        if (m_point.y > kChartHeight)
            m_point.y = kChartHeight - 1;
        break;
    case PointMove::Right:
        m_point.x += step;
        if (m_point.x > kChartWidth)
            m_point.x = kChartWidth - 1;
        break;
    case PointMove::Left:
        // x = 0 reads as "no point": the point stops at the chart's first column instead.
        m_point.x = std::max(m_point.x - step, 1);
        break;
    }
    MarkToPlay();
}

void ChartState::GoTo(ChartPoint point) {
    if (m_circle) {
        m_circle = false;
        Redraw();
    }
    m_point = point;
    if (m_diphthong)
        Redraw();
    MarkToPlay();
}

// --- Modes ---------------------------------------------------------------------------------

void ChartState::SetNormalMode() {
    m_diphthong = false;
    m_circle = false;
    Redraw();
}

void ChartState::SetDiphthongMode() {
    m_diphthong = true;
    m_circle = false;
    Redraw();
}

void ChartState::StepCircle(int direction) {
    m_circle = true;
    m_circleAngle += direction * m_circleStep;
    if (m_circleAngle > kFullCircle)
        m_circleAngle -= kFullCircle * ((m_circleAngle - 1) / kFullCircle);
    if (m_circleAngle < 0)
        m_circleAngle += kFullCircle * ((kFullCircle - 1 - m_circleAngle) / kFullCircle);
    Redraw();
}

void ChartState::SetCircle(int radius, int step) {
    m_circleRadius = radius;
    m_circleStep = step;
    m_circle = true;
    Redraw();
}

ChartPoint ChartState::CircleOffsets() const {
    const double angle = m_circleAngle * kDegreeFactor;
    return {static_cast<int>(m_circleRadius * std::sin(angle)),
            static_cast<int>(m_circleRadius * std::cos(angle))};
}

// --- The vowel list ------------------------------------------------------------------------

void ChartState::SetSelectedRow(int row) {
    m_selectedRow = row >= 0 && static_cast<size_t>(row) < m_rows.size() ? row : -1;
}

std::string ChartState::ListEntry(int row) const {
    if (row < 0 || static_cast<size_t>(row) >= m_rows.size())
        return std::string();
    const VowelRow& entry = m_rows[static_cast<size_t>(row)];
    std::string bytes(1, static_cast<char>(entry.symbol));
    if (entry.modified)
        bytes += kModifiedMarkByte;
    return bytes;
}

StoredFormants ChartState::RowFormants(int row) const {
    if (row < 0 || static_cast<size_t>(row) >= m_rows.size())
        return {};
    if (ListsModifiedVowels()) {
        const std::string symbol(1, static_cast<char>(m_rows[static_cast<size_t>(row)].symbol));
        const char* s = symbol.c_str();
        return {m_doc->GetEntryF1BySymbol(s, m_gender, m_set),
                m_doc->GetEntryF2BySymbol(s, m_gender, m_set),
                m_doc->GetEntryF3BySymbol(s, m_gender, m_set)};
    }
    const int slot = SlotOf(m_type, row);
    return {m_doc->GetEntryF1(slot, m_gender, m_set), m_doc->GetEntryF2(slot, m_gender, m_set),
            m_doc->GetEntryF3(slot, m_gender, m_set)};
}

bool ChartState::SelectVowel() {
    if (m_selectedRow < 0)
        return false;
    if (m_log)
        m_log->VowelSelected(ListEntry(m_selectedRow));
    if (ListsModifiedVowels()) {
        // The rows are vowels of all types: each is found by its symbol.
        const std::string symbol = SelectedSymbol();
        const char* s = symbol.c_str();
        MovePointTo(m_doc->GetEntryF1BySymbol(s, m_gender, m_set),
                    m_doc->GetEntryF2BySymbol(s, m_gender, m_set));
        SetF3(m_doc->GetEntryF3BySymbol(s, m_gender, m_set));
        SetDuration(m_doc->GetEntryLenBySymbol(s, m_gender, m_set));
    } else {
        const int slot = SlotOf(m_type, m_selectedRow);
        MovePointTo(m_doc->GetEntryF1(slot, m_gender, m_set),
                    m_doc->GetEntryF2(slot, m_gender, m_set));
        SetF3(m_doc->GetEntryF3(slot, m_gender, m_set));
        if (m_doc->IsEntryModified(slot, m_gender, m_set))
            SetDuration(m_doc->GetEntryLen(slot, m_gender, m_set));
    }
    MarkToPlay();
    return true;
}

void ChartState::FillVowelList() {
    const int row = m_selectedRow;
    m_rows.clear();
    if (ListsModifiedVowels()) {
        for (int type = 0; type < kTypeCount; ++type) {
            for (int position = 0; position < kPositionsPerType; ++position) {
                const int slot = SlotOf(type, position);
                if (m_doc->IsEntryModified(slot, m_gender, m_set))
                    m_rows.push_back(
                        {FirstByte(kPresetVowels[kMale][type][position].symbol), slot, true});
            }
        }
    } else {
        const VowelEntry* table = PresetTable();
        for (int position = 0; table[position].f1 != 0; ++position) {
            const int slot = SlotOf(m_type, position);
            m_rows.push_back({FirstByte(table[position].symbol), slot,
                              m_doc->IsEntryModified(slot, m_gender, m_set) != 0});
        }
    }
    SetSelectedRow(row);
    ++m_listFills;
}

std::optional<MessageRequest> ChartState::SaveVowel() {
    if (m_modifiedMap)
        return Notice("Can't save while showing modified Map!", "Sorry");
    const ChartScale scale = Scale();
    const int f1 = XToFrequency(scale, m_point.x);
    const int f2 = YToFrequency(scale, m_point.y);
    const int f3 = UpdateF3();
    const int duration = Duration();
    if (m_selectedRow < 0)
        return Notice("Please first choose Position\n to store Vowel to !", "Warning",
                      MsgIcon::Warning);
    if (m_log)
        m_log->Saved();
    // The modified vowels' list finds the vowel by its symbol, as selecting it does.
    if (m_modifiedVowels)
        m_doc->StoreEntryBySymbol(SelectedSymbol().c_str(), f1, f2, f3, duration, m_gender, m_set);
    else
        m_doc->StoreEntry(SlotOf(m_type, m_selectedRow), f1, f2, f3, duration, m_gender, m_set);
    FillVowelList();
    return std::nullopt;
}

std::optional<MessageRequest> ChartState::ResetVowel() {
    if (m_modifiedMap)
        return Notice("Can't initialize while showing modified Map!", "Sorry");
    if (m_selectedRow < 0)
        return std::nullopt;
    // The list of modified vowels mixes all types: its row is not a position, so the vowel
    // is found by its symbol, as storing it does.
    int slot = SlotOf(m_type, m_selectedRow);
    if (m_modifiedVowels)
        slot = SlotOfSymbol(static_cast<unsigned char>(SelectedSymbol()[0]));
    if (slot < 0)
        return std::nullopt;
    const VowelEntry& preset = PresetOfSlot(m_gender, slot);
    m_doc->InitEntry(slot, preset.f1, preset.f2, preset.f3, 100, m_gender, m_set);
    if (m_log)
        m_log->Reset();
    MovePointTo(preset.f1, preset.f2);
    SetF3(preset.f3);
    SetDuration(100);
    FillVowelList();
    Redraw();
    return std::nullopt;
}

std::optional<MessageRequest> ChartState::ChangeVowelType(int type) {
    m_type = type;
    if (ListsModifiedVowels())
        return Notice("All modified Vowels are shown. There are no other pages.", "Sorry");
    const int row = m_selectedRow;
    FillVowelList();
    if (!m_zoom) {
        m_selectedRow = -1;
    } else if (row >= 0 && static_cast<size_t>(row) < m_rows.size()) {
        // The vowel on the same row of the new page, where the user has put it.
        const int slot = SlotOf(m_type, row);
        MovePointTo(m_doc->GetEntryF1(slot, m_gender, m_set),
                    m_doc->GetEntryF2(slot, m_gender, m_set));
        SetF3(m_doc->GetEntryF3(slot, m_gender, m_set));
    }
    Redraw();
    return std::nullopt;
}

void ChartState::SetGender(int gender) {
    m_gender = gender;
    FillVowelList();
    SelectVowel();
    Redraw();
}

void ChartState::SetVowelSet(int set) {
    m_set = set;
    FillVowelList();
    Redraw();
}

// --- The sliders ---------------------------------------------------------------------------

void ChartState::SetF3(int hz) {
    m_f3Step = std::clamp(hz / 100, kF3StepMin, kF3StepMax);
    m_shownF3 = hz;
}

void ChartState::MoveF3Slider(int step) {
    m_f3Step = std::clamp(step, kF3StepMin, kF3StepMax);
    m_shownF3 = 100 * m_f3Step;
}

void ChartState::SetDuration(int duration) {
    // Computed in the wider type: a length read from a document is not range-checked.
    const long long step = kLengthStepMax + 1LL - duration;
    m_lengthStep = static_cast<int>(std::clamp<long long>(step, kLengthStepMin, kLengthStepMax));
    m_shownDuration = duration;
}

void ChartState::MoveLengthSlider(int step) {
    m_lengthStep = std::clamp(step, kLengthStepMin, kLengthStepMax);
    m_shownDuration = Duration();
}

void ChartState::EnterDuration(int duration) {
    m_lastDuration = duration;
    SetDuration(duration);
}

void ChartState::ToggleAutoF3() {
    m_autoF3 = !m_autoF3;
    Redraw();
}

int ChartState::UpdateF3() {
    if (!m_autoF3)
        return 100 * m_f3Step;
    const int f3 = AutomaticF3(m_f1, m_f2);
    SetF3(f3);
    return f3;
}

// --- Voice and the rest --------------------------------------------------------------------

bool ChartState::ChooseVoice(int index) {
    if (!m_voiceFiles || index < 0 || static_cast<size_t>(index) >= m_voiceFiles->size())
        return false;
    m_voiceIndex = index;
    // A name in the voice folder, or the whole path of a voice of the user's own folder.
    const std::string& entry = (*m_voiceFiles)[static_cast<size_t>(index)];
    m_voiceFile = !entry.empty() && entry.front() == '/' ? entry : m_dataDir + "/" + entry;
    Redraw();
    return true;
}

void ChartState::ToggleAdvancedControls() {
    m_advanced = !m_advanced;
    Redraw();
}

// --- Reference vowels and axis labels -----------------------------------------------------

void ChartState::SetReference(std::optional<ReferenceChoice> reference) {
    m_reference = std::move(reference);
    RedrawWithoutPlaying();
}

void ChartState::SetReferenceSpread(bool shown) {
    m_referenceSpread = shown;
    RedrawWithoutPlaying();
}

void ChartState::SetAxisLabels(bool shown) {
    m_axisLabels = shown;
    RedrawWithoutPlaying();
}

void ChartState::SetShowRecordings(bool shown) {
    m_showRecordings = shown;
    RedrawWithoutPlaying();
}

void ChartState::SetRecordingTracks(bool shown) {
    m_recordingTracks = shown;
    RedrawWithoutPlaying();
}

void ChartState::SetRecordings(std::vector<ChartRecording> recordings) {
    m_recordings = std::move(recordings);
    if (m_selectedRecording >= static_cast<int>(m_recordings.size()))
        m_selectedRecording = -1;
    RedrawWithoutPlaying();
}

void ChartState::SetSelectedRecording(int index) {
    m_selectedRecording = index >= 0 && index < static_cast<int>(m_recordings.size()) ? index : -1;
    RedrawWithoutPlaying();
}

std::vector<RecordingMarker> ChartState::RecordingMarkersShown() const {
    if (!m_showRecordings)
        return {};
    return RecordingMarkers(Scale(), m_recordings, m_selectedRecording, m_recordingTracks);
}

int ChartState::RecordingNear(double x, double y, double radius) const {
    if (!m_showRecordings)
        return -1;
    int nearest = -1;
    double best = radius * radius;
    for (size_t i = 0; i < m_recordings.size(); ++i) {
        const ChartRecording& recording = m_recordings[i];
        if (PlaceOf(Scale(), recording) != RecordingPlace::OnChart)
            continue;
        const ChartPointF at =
            RecordingPosition(Scale(), recording.formants.f1, recording.formants.f2);
        const double distance = (at.x - x) * (at.x - x) + (at.y - y) * (at.y - y);
        if (distance <= best) {
            best = distance;
            nearest = static_cast<int>(i);
        }
    }
    return nearest;
}

const ReferenceVowel* ChartState::ReferenceVowelNear(double x, double y, double radius) const {
    if (!m_reference)
        return nullptr;
    const ChartScale scale = Scale();
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

// --- Painting and playing ------------------------------------------------------------------

void ChartState::ComputeFormants() {
    if (!HasPoint())
        return;
    const ChartScale scale = Scale();
    m_f1 = XToFrequency(scale, m_point.x);
    m_f2 = YToFrequency(scale, m_point.y);
    m_f3 = UpdateF3();
}

std::string ChartState::StatusText() const {
    if (!m_showPosition)
        return "Information hidden !";
    char text[128];
    std::snprintf(text, sizeof text, "F1:%d Hz F2:%dHz F3:%d Hz x:%d y:%d", m_f1, m_f2, m_f3,
                  m_point.x, m_point.y);
    return text;
}

std::optional<ChartVowel> ChartState::VowelToPlay(PlayTrigger trigger) const {
    const ChartScale scale = Scale();
    ChartVowel vowel;
    if (trigger == PlayTrigger::PlayCommand) {
        if (m_f1 <= 0)
            return std::nullopt;
        vowel.f1 = m_f1;
        vowel.f2 = m_f2;
    } else {
        if (!HasPoint())
            return std::nullopt;
        vowel.f1 = XToFrequency(scale, m_point.x);
        vowel.f2 = YToFrequency(scale, m_point.y);
    }
    vowel.f3 = m_autoF3 ? AutomaticF3(vowel.f1, vowel.f2) : 100 * m_f3Step;
    if (m_diphthong && m_end.x > 0) {
        vowel.f1End = XToFrequency(scale, m_end.x);
        vowel.f2End = YToFrequency(scale, m_end.y);
    } else if (m_circle && trigger == PlayTrigger::ChartChange) {
        const ChartPoint offset = CircleOffsets();
        vowel.f1 = XToFrequency(scale, m_point.x - offset.x);
        vowel.f2 = YToFrequency(scale, m_point.y - offset.y);
    }
    vowel.duration = Duration();
    vowel.tilt = m_gender == kMale ? 0 : m_femaleTilt;
    vowel.voiceFile = m_voiceFile;
    return vowel;
}

std::optional<ChartVowel> ChartState::PlayAfterPaint() {
    m_playPending = false;
    if (!HasPoint())
        return std::nullopt;
    if (m_log)
        m_log->Formants(m_f1, m_f2, m_f3);
    m_lastDuration = Duration();
    return VowelToPlay(PlayTrigger::ChartChange);
}

std::optional<ChartVowel> ChartState::PlayCurrent() {
    m_lastDuration = Duration();
    m_f3 = UpdateF3();
    return VowelToPlay(PlayTrigger::PlayCommand);
}

void ChartState::Redraw() {
    m_chartRedraw = true;
    m_playPending = true;
}

bool ChartState::TakeChartRedraw() {
    const bool redraw = m_chartRedraw;
    m_chartRedraw = false;
    return redraw;
}
