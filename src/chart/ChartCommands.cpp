#include "chart/ChartCommands.h"

#include "chart/ChartState.h"
#include "reference/ReferenceSet.h"

namespace {

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

// The maps' and modes' commands; false for any other.
bool RunToggle(ChartState& state, int id, std::optional<MessageRequest>& refusal) {
    switch (id) {
    case ID_FORMANT_MAP:
        refusal = state.ToggleMap(ChartMap::Formant);
        break;
    case ID_USER_MAP:
        refusal = state.ToggleMap(ChartMap::User);
        break;
    case ID_MODIFIED_MAP:
        refusal = state.ToggleMap(ChartMap::Modified);
        break;
    case ID_GRAY_MAP:
        refusal = state.ToggleMap(ChartMap::Gray);
        break;
    case ID_MODIFIED_VOWELS:
        state.ToggleModifiedVowels();
        break;
    case ID_FORMANT_POSITION:
        state.TogglePosition();
        break;
    case ID_ZOOM:
        state.ToggleZoom();
        break;
    case ID_SHOW_GRID:
        state.ToggleGrid();
        break;
    case ID_MODE_NORMAL:
        state.SetNormalMode();
        break;
    case ID_MODE_DIPHTHONG:
        state.SetDiphthongMode();
        break;
    case ID_CIRCLE_FORWARD:
    case ID_CIRCLE_BACK:
        state.StepCircle(id == ID_CIRCLE_FORWARD ? 1 : -1);
        break;
    case ID_SCALE_HERZ:
    case ID_SCALE_BARK:
        state.SetBark(id == ID_SCALE_BARK);
        break;
    case ID_ADVANCED_CONTROLS:
        state.ToggleAdvancedControls();
        break;
    case ID_AUTO_F3:
        state.ToggleAutoF3();
        break;
    default:
        return false;
    }
    return true;
}

// The checks of the maps' and modes' commands.
CommandState StateOfToggle(const ChartState& state, int id) {
    switch (id) {
    case ID_FORMANT_MAP:
        return Checked(state.Shows(ChartMap::Formant));
    case ID_USER_MAP:
        return Checked(state.Shows(ChartMap::User));
    case ID_MODIFIED_MAP:
        return Checked(state.Shows(ChartMap::Modified));
    case ID_GRAY_MAP:
        return Checked(state.Shows(ChartMap::Gray));
    case ID_MODIFIED_VOWELS:
        return Checked(state.ShowsModifiedVowels());
    case ID_FORMANT_POSITION:
        return Checked(state.ShowsPosition());
    case ID_ZOOM:
        return Checked(state.IsZoomed());
    case ID_SHOW_GRID: {
        CommandState command = Checked(state.ShowsGrid());
        command.enabled = state.IsZoomed();
        return command;
    }
    case ID_MODE_NORMAL:
        return Checked(state.IsNormalMode());
    case ID_MODE_DIPHTHONG:
        return Checked(state.IsDiphthongMode());
    case ID_SCALE_HERZ:
        return Checked(!state.IsBark());
    case ID_SCALE_BARK:
        return Checked(state.IsBark());
    case ID_ADVANCED_CONTROLS:
        return Checked(state.ShowsAdvancedControls());
    case ID_AUTO_F3:
        return Checked(state.IsAutoF3());
    case ID_SWITCH_SET:
    case ID_CIRCLE_FORWARD:
    case ID_CIRCLE_BACK:
    case ID_MOVE_UP:
    case ID_MOVE_DOWN:
    case ID_MOVE_LEFT:
    case ID_MOVE_RIGHT:
        return Enabled();
    default:
        return CommandState{};
    }
}

} // namespace

ChartCommandResult RunChartCommand(ChartState& state, int id) {
    ChartCommandResult result;
    result.handled = true;
    if (id >= ID_VOICE_FIRST && id <= ID_VOICE_LAST) {
        state.ChooseVoice(id - ID_VOICE_FIRST); // an entry that is not there changes nothing
        return result;
    }
    switch (id) {
    case ID_MALE:
    case ID_FEMALE:
        state.SetGender(id == ID_MALE ? 1 : 0);
        break;
    case ID_TYPE_PRIMARY:
    case ID_TYPE_SECONDARY:
    case ID_TYPE_FURTHER:
    case ID_TYPE_SCHWA:
        result.refusal = state.ChangeVowelType(id - ID_TYPE_PRIMARY);
        break;
    case ID_NEXT_TYPE:
        result.refusal = state.ChangeVowelType((state.VowelType() + 1) % 4);
        break;
    case ID_SET_CARDINAL:
    case ID_SET_NATIVE:
        state.SetVowelSet(id == ID_SET_CARDINAL ? 0 : 1);
        break;
    case ID_SWITCH_SET:
        state.SetVowelSet(state.VowelSet() == 1 ? 0 : 1);
        break;
    case ID_MOVE_UP:
        state.MovePoint(PointMove::Up);
        break;
    case ID_MOVE_DOWN:
        state.MovePoint(PointMove::Down);
        break;
    case ID_MOVE_LEFT:
        state.MovePoint(PointMove::Left);
        break;
    case ID_MOVE_RIGHT:
        state.MovePoint(PointMove::Right);
        break;
    default:
        result.handled = RunToggle(state, id, result.refusal);
        break;
    }
    return result;
}

namespace {

// The reference vowel entries, their spread and the axis labels: checked after what is shown.
CommandState StateOfFigureCommand(const ChartState& state, int id) {
    const ReferenceChoice* reference = state.Reference();
    if (id >= ID_REFERENCE_FIRST && id <= ID_REFERENCE_LAST) {
        const size_t index = static_cast<size_t>(id - ID_REFERENCE_FIRST);
        if (index >= ReferenceSets().size())
            return CommandState{};
        return Checked(reference && reference->choice == ReferenceSets()[index].key);
    }
    switch (id) {
    case ID_REFERENCE_NONE:
        return Checked(reference == nullptr);
    case ID_REFERENCE_LOAD:
        return Checked(reference && reference->IsUserTable());
    case ID_REFERENCE_SPREAD:
        return Checked(state.ShowsReferenceSpread());
    case ID_AXIS_LABELS:
        return Checked(state.ShowsAxisLabels());
    case ID_INDICATOR_REFERENCE: {
        CommandState command = Enabled();
        command.enabled = reference != nullptr;
        command.text = reference ? reference->description.c_str() : nullptr;
        return command;
    }
    default:
        return CommandState{};
    }
}

} // namespace

CommandState ChartCommandState(const ChartState& state, int id) {
    if (id >= ID_VOICE_FIRST && id <= ID_VOICE_LAST)
        return Checked(id - ID_VOICE_FIRST == state.VoiceIndex());
    if (id >= ID_REFERENCE_NONE && id <= ID_INDICATOR_REFERENCE)
        return StateOfFigureCommand(state, id);
    switch (id) {
    case ID_MALE:
        return Checked(state.Gender() == 1);
    case ID_FEMALE:
        return Checked(state.Gender() == 0);
    case ID_TYPE_PRIMARY:
    case ID_TYPE_SECONDARY:
    case ID_TYPE_FURTHER:
    case ID_TYPE_SCHWA:
        return Checked(state.VowelType() == id - ID_TYPE_PRIMARY);
    case ID_NEXT_TYPE: {
        CommandState command = Enabled();
        command.text = NextTypeText(state.VowelType());
        return command;
    }
    case ID_SET_CARDINAL:
        return Checked(state.VowelSet() == 0);
    case ID_SET_NATIVE:
        return Checked(state.VowelSet() == 1);
    case ID_ZOOM_PARAMETERS:
    case ID_INDICATOR_ZOOM: {
        CommandState command = Enabled();
        command.enabled = state.IsZoomed();
        return command;
    }
    case ID_INDICATOR_SCALE: {
        CommandState command = Enabled();
        command.text = state.IsBark() ? "Bark" : "Herz";
        return command;
    }
    case ID_RECORDINGS_ON_CHART:
        return Checked(state.ShowsRecordings());
    case ID_RECORDING_TRACKS:
        return Checked(state.ShowsRecordingTracks());
    default:
        return StateOfToggle(state, id);
    }
}
