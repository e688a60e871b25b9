// The view's commands: menu entries and keys, their check and enable states, the voices,
// the right button and the initial update.
#include "view/TundrelView.h"

#include "base/Directories.h"
#include "base/MessageBox.h"

#include <QListWidget>
#include <QPushButton>
#include <QSlider>

namespace {

constexpr int kFullCircle = 360;

CommandState Enabled() {
    CommandState state;
    state.handled = true;
    return state;
}

CommandState Checked(bool checked) {
    CommandState state = Enabled();
    state.checked = checked;
    return state;
}

// The Tab command's text names the page that Tab leads to.
const char* NextTypeText(int type) {
    switch (type) {
    case 0:
        return "&View Rounded (secondary) Vowels\tTab";
    case 1:
        return "&View further Vowels\tTab";
    case 2:
        return "&View centralized Vowels\tTab";
    default:
        return "&View primary Vowels\tTab";
    }
}

} // namespace

void CTundrelView::OnInitialUpdate() {
    m_strDataDir = g_strDatDir;
    OnVoice(ID_VOICE_FIRST);
    m_nVowelType = 0;
    FillVowelList();
    {
        const QSignalBlocker blocker(m_pVowelList);
        m_pVowelList->setCurrentRow(0);
    }
    SelectVowel();
    emit commandStatesChanged();
}

void CTundrelView::OnVoice(int id) {
    const size_t index = static_cast<size_t>(id - ID_VOICE_FIRST);
    if (!m_pVoiceFiles || id < ID_VOICE_FIRST || index >= m_pVoiceFiles->size())
        return;
    m_nVoiceCommand = id;
    m_strVoiceFile = m_strDataDir + "/" + (*m_pVoiceFiles)[index];
    Redraw();
}

void CTundrelView::OnRButtonDown(int px, int py) {
    m_nDiphX = px - kChartLeft;
    m_nDiphY = py;
    if (m_bZoom) {
        const ChartPoint snapped = SnapToGrid({m_nDiphX, m_nDiphY}, m_nGridWidth);
        m_nDiphX = snapped.x;
        m_nDiphY = snapped.y;
    }
    Redraw();
}

// The chart shows something else: repaint it and play the point again.
void CTundrelView::Redraw() {
    update(QRect(kChartLeft, kChartTop, kChartWidth, kChartHeight));
    PlayOnNextPaint();
}

void CTundrelView::OnCommand(int id) {
    if (id >= ID_VOICE_FIRST && id <= ID_VOICE_LAST)
        OnVoice(id);
    else if (!DoToggleCommand(id))
        return;
    emit commandStatesChanged();
}

// Runs every command but the voices; false for a command the view does not handle.
bool CTundrelView::DoToggleCommand(int id) {
    switch (id) {
    case ID_MALE:
    case ID_FEMALE:
        SetGender(id == ID_MALE ? 1 : 0);
        break;
    case ID_PLAY:
        PlayCurrent();
        break;
    case ID_TYPE_PRIMARY:
    case ID_TYPE_SECONDARY:
    case ID_TYPE_FURTHER:
    case ID_TYPE_SCHWA:
        ChangeVowelType(id - ID_TYPE_PRIMARY);
        break;
    case ID_NEXT_TYPE:
        ChangeVowelType((m_nVowelType + 1) % 4);
        break;
    case ID_SET_CARDINAL:
    case ID_SET_NATIVE:
        SetVowelSet(id == ID_SET_CARDINAL ? 0 : 1);
        break;
    case ID_SWITCH_SET:
        SetVowelSet(m_nVowelSet == 1 ? 0 : 1);
        break;
    case ID_FORMANT_MAP:
        ToggleMap(m_bFormantMap, "Can't show Formantmap while Zoom is active.");
        break;
    case ID_USER_MAP:
        ToggleMap(m_bUserMap, "Can't show User-Formantmap while Zoom is active.");
        break;
    case ID_MODIFIED_MAP:
        ToggleMap(m_bModifiedMap, "Can't show User-Formantmap while Zoom is active.");
        break;
    case ID_MODIFIED_VOWELS:
        ToggleModifiedVowels();
        break;
    case ID_GRAY_MAP:
        m_bGrayMap = !m_bGrayMap;
        Redraw();
        break;
    case ID_FORMANT_POSITION:
        m_bShowPosition = !m_bShowPosition;
        break;
    case ID_ZOOM:
        ToggleZoom();
        break;
    case ID_SHOW_GRID:
        m_bShowGrid = !m_bShowGrid;
        Redraw();
        break;
    case ID_MODE_NORMAL:
    case ID_MODE_DIPHTHONG:
        m_bDiphthong = id == ID_MODE_DIPHTHONG;
        m_bCircle = false;
        Redraw();
        break;
    case ID_CIRCLE_FORWARD:
    case ID_CIRCLE_BACK:
        CircleStep(id == ID_CIRCLE_FORWARD ? 1 : -1);
        break;
    case ID_SCALE_HERZ:
    case ID_SCALE_BARK:
        m_bBark = id == ID_SCALE_BARK;
        Redraw();
        break;
    case ID_ADVANCED_CONTROLS:
        ToggleAdvancedControls();
        break;
    case ID_AUTO_F3:
        ToggleAutoF3();
        break;
    case ID_WAVELIST_WINDOW:
        ToggleWaveList();
        break;
    case ID_PLAY_WAVE_FILE:
        PlayWaveFile();
        break;
    case ID_MOVE_UP:
    case ID_MOVE_DOWN:
    case ID_MOVE_LEFT:
    case ID_MOVE_RIGHT:
        MovePoint(id);
        break;
    default:
        return DoDialogCommand(id);
    }
    return true;
}

void CTundrelView::SetGender(int gender) {
    m_nGender = gender;
    FillVowelList();
    SelectVowel();
    Redraw();
}

void CTundrelView::SetVowelSet(int set) {
    m_nVowelSet = set;
    m_pSetButton->setText(set == 0 ? QStringLiteral("Cardinal") : QStringLiteral("Native"));
    FillVowelList();
    Redraw();
}

void CTundrelView::ToggleMap(bool& flag, const char* message) {
    if (m_bZoom) {
        ShowMessage(message, "Sorry");
        return;
    }
    flag = !flag;
    if (flag) {
        for (bool* other : {&m_bFormantMap, &m_bUserMap, &m_bModifiedMap, &m_bModifiedVowels}) {
            if (other != &flag)
                *other = false;
        }
    }
    FillVowelList();
    Redraw();
}

void CTundrelView::ToggleModifiedVowels() {
    m_bModifiedVowels = !m_bModifiedVowels;
    if (m_bModifiedVowels)
        m_bFormantMap = m_bUserMap = m_bModifiedMap = false;
    FillVowelList();
    {
        const QSignalBlocker blocker(m_pVowelList);
        m_pVowelList->setCurrentRow(0);
    }
    Redraw();
}

void CTundrelView::ToggleZoom() {
    m_bZoom = !m_bZoom;
    if (m_bZoom)
        m_bFormantMap = m_bUserMap = false;
    // The point keeps its frequencies under the new scale.
    const ChartScale scale = Scale();
    m_nSelX = FrequencyToX(scale, m_nF1);
    m_nSelY = FrequencyToY(scale, m_nF2);
    Redraw();
}

void CTundrelView::CircleStep(int direction) {
    m_bCircle = true;
    m_nCircleAngle += direction * m_nCircleStep;
    if (m_nCircleAngle > kFullCircle)
        m_nCircleAngle -= kFullCircle * ((m_nCircleAngle - 1) / kFullCircle);
    if (m_nCircleAngle < 0)
        m_nCircleAngle += kFullCircle * ((kFullCircle - 1 - m_nCircleAngle) / kFullCircle);
    Redraw();
}

void CTundrelView::ToggleAdvancedControls() {
    m_bAdvanced = !m_bAdvanced;
    ShowAdvancedControls();
    emit requiredSizeChanged();
    update();
    PlayOnNextPaint();
}

void CTundrelView::ToggleAutoF3() {
    m_bAutoF3 = !m_bAutoF3;
    m_pF3Slider->setEnabled(!m_bAutoF3);
    Redraw();
}

CommandState CTundrelView::OnUpdateCommand(int id) const {
    if (id >= ID_VOICE_FIRST && id <= ID_VOICE_LAST)
        return Checked(id == m_nVoiceCommand);
    switch (id) {
    case ID_MALE:
        return Checked(m_nGender == 1);
    case ID_FEMALE:
        return Checked(m_nGender == 0);
    case ID_TYPE_PRIMARY:
    case ID_TYPE_SECONDARY:
    case ID_TYPE_FURTHER:
    case ID_TYPE_SCHWA:
        return Checked(m_nVowelType == id - ID_TYPE_PRIMARY);
    case ID_NEXT_TYPE: {
        CommandState state = Enabled();
        state.text = NextTypeText(m_nVowelType);
        return state;
    }
    case ID_SET_CARDINAL:
        return Checked(m_nVowelSet == 0);
    case ID_SET_NATIVE:
        return Checked(m_nVowelSet == 1);
    case ID_INDICATOR_ZOOM: {
        CommandState state = Enabled();
        state.enabled = m_bZoom;
        return state;
    }
    case ID_INDICATOR_SCALE: {
        CommandState state = Enabled();
        state.text = m_bBark ? "Bark" : "Herz";
        return state;
    }
    default:
        return StateOfToggle(id);
    }
}

// States of the flags' commands and of the commands that are only enabled.
CommandState CTundrelView::StateOfToggle(int id) const {
    switch (id) {
    case ID_FORMANT_MAP:
        return Checked(m_bFormantMap);
    case ID_USER_MAP:
        return Checked(m_bUserMap);
    case ID_MODIFIED_MAP:
        return Checked(m_bModifiedMap);
    case ID_MODIFIED_VOWELS:
        return Checked(m_bModifiedVowels);
    case ID_GRAY_MAP:
        return Checked(m_bGrayMap);
    case ID_FORMANT_POSITION:
        return Checked(m_bShowPosition);
    case ID_ZOOM:
        return Checked(m_bZoom);
    case ID_SHOW_GRID: {
        CommandState state = Checked(m_bShowGrid);
        state.enabled = m_bZoom;
        return state;
    }
    case ID_MODE_NORMAL:
        return Checked(!m_bDiphthong && !m_bCircle);
    case ID_MODE_DIPHTHONG:
        return Checked(m_bDiphthong);
    case ID_SCALE_HERZ:
        return Checked(!m_bBark);
    case ID_SCALE_BARK:
        return Checked(m_bBark);
    case ID_ADVANCED_CONTROLS:
        return Checked(m_bAdvanced);
    case ID_AUTO_F3:
        return Checked(m_bAutoF3);
    case ID_WAVELIST_WINDOW:
        return Checked(IsWaveListOpen());
    case ID_PLAY:
    case ID_PLAY_WAVE_FILE:
    case ID_SWITCH_SET:
    case ID_CIRCLE_FORWARD:
    case ID_CIRCLE_BACK:
    case ID_MOVE_UP:
    case ID_MOVE_DOWN:
    case ID_MOVE_LEFT:
    case ID_MOVE_RIGHT:
        return Enabled();
    default:
        return StateOfDialogCommand(id);
    }
}
