// Command identifiers of the menus, keys and controls, shared by the frame and the view.
#pragma once

enum CommandId : int {
    // File (application and document)
    ID_FILE_NEW = 57600,
    ID_FILE_OPEN = 57601,
    ID_FILE_SAVE = 57603,
    ID_FILE_SAVE_AS = 57604,
    ID_FILE_MRU_FILE1 = 57616,
    ID_APP_EXIT = 57665,
    ID_APP_ABOUT = 57664,
    ID_BATCH_CONVERT = 32804,
    // Keys that nothing handles
    ID_EDIT_COPY = 57634,
    ID_EDIT_CUT = 57635,
    ID_EDIT_PASTE = 57637,
    ID_EDIT_UNDO = 57643,
    ID_NEXT_PANE = 57680,
    ID_PREV_PANE = 57681,
    // Voice
    ID_MALE = 32773,
    ID_FEMALE = 32774,
    ID_VOICE_FIRST = 200,
    ID_VOICE_LAST = 219,
    ID_VOICES_PLACEHOLDER = 32823,
    ID_PLAY = 32777,
    ID_PLAY_WAVE_FILE = 32801,
    // View
    ID_TYPE_PRIMARY = 32810,
    ID_TYPE_SECONDARY = 32811,
    ID_TYPE_FURTHER = 32812,
    ID_TYPE_SCHWA = 32813,
    ID_NEXT_TYPE = 32784,
    ID_SET_CARDINAL = 32821,
    ID_SET_NATIVE = 32822,
    ID_SWITCH_SET = 32796,
    ID_FORMANT_MAP = 32778,
    ID_USER_MAP = 32788,
    ID_MODIFIED_MAP = 32794,
    ID_MODIFIED_VOWELS = 32799,
    ID_GRAY_MAP = 32803,
    ID_FORMANT_POSITION = 32779,
    // Zoom
    ID_ZOOM = 32786,
    ID_ZOOM_PARAMETERS = 32787,
    ID_SHOW_GRID = 32790,
    // Options
    ID_MODE_NORMAL = 32819,
    ID_MODE_DIPHTHONG = 32820,
    ID_CIRCLE_FORWARD = 32808,
    ID_CIRCLE_BACK = 59648,
    ID_SCALE_HERZ = 32825,
    ID_SCALE_BARK = 32826,
    ID_DURATION = 32793,
    ID_FEMALE_TILT = 32791,
    ID_CIRCLE_PARAMETERS = 32809,
    ID_ADVANCED_CONTROLS = 32817,
    ID_WAVELIST_WINDOW = 32800,
    ID_AUTO_F3 = 32792,
    ID_TEMP_PATH = 32805,
    ID_LOG_TO_FILE = 32824,
    // Stimuli: the sound heard, voices, continua, typed formants
    ID_EXPORT_SOUND = 32850,
    ID_NEW_VOICE = 32851,
    ID_MAKE_CONTINUUM = 32852,
    ID_PLAY_CONTINUUM = 32853,
    ID_GO_TO_FORMANTS = 32854,
    // Listening tests
    ID_LISTENING_TEST = 32860,
    ID_TEST_RESULTS = 32861,
    ID_LISTEN = 32862,         // live formants from the microphone on the chart
    ID_KEEP_LAST_TAKE = 32863, // the last voiced stretch heard, saved and listed
    // Point moves (arrow keys)
    ID_MOVE_UP = 32780,
    ID_MOVE_DOWN = 32781,
    ID_MOVE_LEFT = 32782,
    ID_MOVE_RIGHT = 32783,
    // Status bar panes
    ID_INDICATOR_ZOOM = 59142,
    ID_INDICATOR_SCALE = 59143,
    // The chart beside its own vowels: reference vowels, axis labels, the chart as a figure
    ID_REFERENCE_NONE = 33000,
    ID_REFERENCE_FIRST = 33001, // the bundled sets in catalogue order (ReferenceSets())
    ID_REFERENCE_LAST = 33016,
    ID_REFERENCE_LOAD = 33017,
    ID_REFERENCE_SPREAD = 33018,
    ID_AXIS_LABELS = 33019,
    ID_EXPORT_CHART = 33020,
    ID_INDICATOR_REFERENCE = 33021, // the reference shown, named beside the scale pane
    ID_SPECTRUM_WINDOW = 33022,     // the spectrum of every vowel played
    ID_RECORDINGS_ON_CHART = 33023, // the wave list's recordings at their measured F1/F2
    ID_RECORDING_TRACKS = 33024,    // and the track of each
    // Controls of the view
    IDC_VOWEL_LIST = 101,
    IDC_RESET = 104,
    IDC_SAVE = 105,
    IDC_F3_SLIDER = 106,
    IDC_LENGTH_SLIDER = 110,
    IDC_SET_BUTTON = 114,
};

// The state of a command's menu entry, key or status pane as the view reports it.
struct CommandState {
    bool handled = false; // a handler exists; entries without one are shown disabled
    bool enabled = true;
    bool checked = false;
    const char* text = nullptr; // a replacement menu text, or nullptr to keep the entry's own
};
