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
const char* NextTypeText(VowelType type) {
    switch (type) {
    case VowelType::Primary:
        return "&View Rounded (secondary) Vowels\tTab";
    case VowelType::Secondary:
        return "&View further Vowels\tTab";
    case VowelType::Further:
        return "&View centralized Vowels\tTab";
    case VowelType::Schwa:
        break;
    }
    return "&View primary Vowels\tTab";
}

// The maps' and modes' commands; false for any other.
bool RunToggle(ChartState& state, int id, Report& refusal) {
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
        state.Shown().TogglePosition();
        break;
    case ID_ZOOM:
        state.ToggleZoom();
        break;
    case ID_SHOW_GRID:
        state.Shown().ToggleGrid();
        break;
    case ID_MODE_NORMAL:
        state.Selection().SetNormalMode();
        break;
    case ID_MODE_DIPHTHONG:
        state.Selection().SetDiphthongMode();
        break;
    case ID_CIRCLE_FORWARD:
    case ID_CIRCLE_BACK:
        state.Selection().StepCircle(id == ID_CIRCLE_FORWARD ? 1 : -1);
        break;
    case ID_SCALE_HERZ:
    case ID_SCALE_BARK:
        state.Shown().SetBark(id == ID_SCALE_BARK);
        break;
    case ID_ADVANCED_CONTROLS:
        state.Shown().ToggleAdvancedControls();
        break;
    case ID_AUTO_F3:
        state.Sound().ToggleAutoF3();
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
        return Checked(state.Shown().Shows(ChartMap::Formant));
    case ID_USER_MAP:
        return Checked(state.Shown().Shows(ChartMap::User));
    case ID_MODIFIED_MAP:
        return Checked(state.Shown().Shows(ChartMap::Modified));
    case ID_GRAY_MAP:
        return Checked(state.Shown().Shows(ChartMap::Gray));
    case ID_MODIFIED_VOWELS:
        return Checked(state.Shown().ShowsModifiedVowels());
    case ID_FORMANT_POSITION:
        return Checked(state.Shown().ShowsPosition());
    case ID_ZOOM:
        return Checked(state.Shown().IsZoomed());
    case ID_SHOW_GRID: {
        CommandState command = Checked(state.Shown().ShowsGrid());
        command.enabled = state.Shown().IsZoomed();
        return command;
    }
    case ID_MODE_NORMAL:
        return Checked(state.Selection().IsNormalMode());
    case ID_MODE_DIPHTHONG:
        return Checked(state.Selection().IsDiphthongMode());
    case ID_SCALE_HERZ:
        return Checked(!state.Shown().IsBark());
    case ID_SCALE_BARK:
        return Checked(state.Shown().IsBark());
    case ID_ADVANCED_CONTROLS:
        return Checked(state.Shown().ShowsAdvancedControls());
    case ID_AUTO_F3:
        return Checked(state.Sound().IsAutoF3());
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
        state.Sound().ChooseVoice(id -
                                  ID_VOICE_FIRST); // an entry that is not there changes nothing
        return result;
    }
    switch (id) {
    case ID_MALE:
    case ID_FEMALE:
        state.SetGender(id == ID_MALE ? Gender::Male : Gender::Female);
        break;
    case ID_TYPE_PRIMARY:
    case ID_TYPE_SECONDARY:
    case ID_TYPE_FURTHER:
    case ID_TYPE_SCHWA:
        result.refusal = state.ChangeVowelType(static_cast<VowelType>(id - ID_TYPE_PRIMARY));
        break;
    case ID_NEXT_TYPE:
        result.refusal = state.ChangeVowelType(NextType(state.List().ShownType()));
        break;
    case ID_SET_CARDINAL:
    case ID_SET_NATIVE:
        state.SetVowelSet(id == ID_SET_CARDINAL ? VowelSet::Cardinal : VowelSet::Native);
        break;
    case ID_SWITCH_SET:
        state.SetVowelSet(state.List().ShownSet() == VowelSet::Native ? VowelSet::Cardinal
                                                                      : VowelSet::Native);
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
    const ReferenceChoice* reference = state.Shown().Reference();
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
        return Checked(state.Shown().ShowsReferenceSpread());
    case ID_AXIS_LABELS:
        return Checked(state.Shown().ShowsAxisLabels());
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
        return Checked(id - ID_VOICE_FIRST == state.Sound().VoiceIndex());
    if (id >= ID_REFERENCE_NONE && id <= ID_INDICATOR_REFERENCE)
        return StateOfFigureCommand(state, id);
    switch (id) {
    case ID_MALE:
        return Checked(state.List().VoiceGender() == Gender::Male);
    case ID_FEMALE:
        return Checked(state.List().VoiceGender() == Gender::Female);
    case ID_TYPE_PRIMARY:
    case ID_TYPE_SECONDARY:
    case ID_TYPE_FURTHER:
    case ID_TYPE_SCHWA:
        return Checked(IndexOf(state.List().ShownType()) == id - ID_TYPE_PRIMARY);
    case ID_NEXT_TYPE: {
        CommandState command = Enabled();
        command.text = NextTypeText(state.List().ShownType());
        return command;
    }
    case ID_SET_CARDINAL:
        return Checked(state.List().ShownSet() == VowelSet::Cardinal);
    case ID_SET_NATIVE:
        return Checked(state.List().ShownSet() == VowelSet::Native);
    case ID_ZOOM_PARAMETERS:
    case ID_INDICATOR_ZOOM: {
        CommandState command = Enabled();
        command.enabled = state.Shown().IsZoomed();
        return command;
    }
    case ID_INDICATOR_SCALE: {
        CommandState command = Enabled();
        command.text = state.Shown().IsBark() ? "Bark" : "Herz";
        return command;
    }
    case ID_RECORDINGS_ON_CHART:
        return Checked(state.Shown().Recordings().IsShown());
    case ID_RECORDING_TRACKS:
        return Checked(state.Shown().Recordings().ShowsTracks());
    default:
        return StateOfToggle(state, id);
    }
}
