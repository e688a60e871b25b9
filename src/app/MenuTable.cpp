#include "app/MenuTable.h"

#include "chart/CommandIds.h"
#include "reference/ReferenceSet.h"

#include <map>
#include <string>

namespace {

MenuNode Entry(const char* text, int id, bool checked = false) {
    return MenuNode{text, id, {}, checked};
}

MenuNode Separator() {
    return MenuNode{};
}

MenuNode Popup(const char* text, std::vector<MenuNode> children) {
    return MenuNode{text, 0, std::move(children), false};
}

MenuNode FileMenu() {
    return Popup(
        "&File",
        {Entry("&New\tCtrl+N", ID_FILE_NEW), Separator(), Entry("&Open...\tCtrl+O", ID_FILE_OPEN),
         Entry("&Save\tCtrl+S", ID_FILE_SAVE), Entry("Save &As...\tCtrl+Shift+S", ID_FILE_SAVE_AS),
         Separator(), Entry("&Batch Convert\tCtrl+B", ID_BATCH_CONVERT),
         Entry("Export &Chart...", ID_EXPORT_CHART),
         Entry("&Export Sound...\tCtrl+E", ID_EXPORT_SOUND), Separator(),
         Entry("Recent File", ID_FILE_MRU_FILE1), Separator(), Entry("E&xit", ID_APP_EXIT)});
}

MenuNode VoiceMenu() {
    return Popup(
        "&Voice",
        {Popup("Gender", {Entry("&Male\t1", ID_MALE, true), Entry("&Female\t2", ID_FEMALE)}),
         Popup("Voices", {Entry("", ID_VOICES_PLACEHOLDER)}), Separator(),
         Entry("&Play\tSpace", ID_PLAY), Entry("Play Wave File\tCR", ID_PLAY_WAVE_FILE),
         Separator(), Entry("&New Voice...", ID_NEW_VOICE)});
}

// The bundled reference sets' menu texts: their labels, with "&" shown as itself.
const std::vector<std::string>& ReferenceMenuTexts() {
    static const std::vector<std::string> texts = [] {
        std::vector<std::string> result;
        for (const ReferenceSet& set : ReferenceSets()) {
            std::string text;
            for (char c : set.label)
                text += c == '&' ? std::string("&&") : std::string(1, c);
            result.push_back(text);
        }
        return result;
    }();
    return texts;
}

// None, one entry per bundled study and group, and a table of the user's.
MenuNode ReferenceMenu() {
    std::vector<MenuNode> entries{Entry("&None", ID_REFERENCE_NONE, true), Separator()};
    const std::vector<std::string>& texts = ReferenceMenuTexts();
    for (size_t i = 0; i < texts.size(); ++i) {
        const int id = ID_REFERENCE_FIRST + static_cast<int>(i);
        if (id <= ID_REFERENCE_LAST)
            entries.push_back(Entry(texts[i].c_str(), id));
    }
    entries.push_back(Separator());
    entries.push_back(Entry("&Load...", ID_REFERENCE_LOAD));
    return Popup("&Reference Vowels", std::move(entries));
}

MenuNode ViewMenu() {
    return Popup(
        "&View",
        {Popup("Vowel Type\tTab",
               {Entry("&Primary Vowels", ID_TYPE_PRIMARY, true),
                Entry("&Secondary Vowels", ID_TYPE_SECONDARY),
                Entry("&Further Vowels", ID_TYPE_FURTHER), Entry("Sch&wa Vowels", ID_TYPE_SCHWA)}),
         Popup("Vowel M&ode\tF12",
               {Entry("&Cardinal", ID_SET_CARDINAL), Entry("&Native", ID_SET_NATIVE)}),
         Separator(), Entry("&Formant Map\tF1", ID_FORMANT_MAP),
         Entry("&User Formant Map\tF2", ID_USER_MAP), Entry("&Modified Map\tF3", ID_MODIFIED_MAP),
         Entry("M&odified Vowels\tF4", ID_MODIFIED_VOWELS), Entry("&Gray Map\tF5", ID_GRAY_MAP),
         Separator(), Entry("Formant &Position", ID_FORMANT_POSITION), Separator(), ReferenceMenu(),
         Entry("Reference &Spread", ID_REFERENCE_SPREAD), Entry("&Axis Labels", ID_AXIS_LABELS),
         Separator(), Entry("S&pectrum\tS", ID_SPECTRUM_WINDOW), Separator(),
         Entry("Re&cordings on Chart", ID_RECORDINGS_ON_CHART),
         Entry("Recording Trac&ks", ID_RECORDING_TRACKS)});
}

MenuNode ZoomMenu() {
    return Popup("Zoom", {Entry("&Enable Zoom\tZ", ID_ZOOM), Separator(),
                          Entry("Zoom &Parameters ...\tP", ID_ZOOM_PARAMETERS),
                          Entry("Show &Grid\tG", ID_SHOW_GRID)});
}

MenuNode OptionsMenu() {
    return Popup("Options",
                 {Popup("Mode", {Entry("&Normal\tN", ID_MODE_NORMAL),
                                 Entry("&Diphthong\tD", ID_MODE_DIPHTHONG)}),
                  Popup("Scale", {Entry("Herz", ID_SCALE_HERZ), Entry("Bark", ID_SCALE_BARK)}),
                  Separator(), Entry("&Duration of Vowels ...\tD", ID_DURATION),
                  Entry("Female &Tilt ...\tT", ID_FEMALE_TILT), Separator(),
                  Entry("&Circle Mode Parameters ...", ID_CIRCLE_PARAMETERS), Separator(),
                  Entry("&Advanced Controls\tO", ID_ADVANCED_CONTROLS),
                  Entry("&Wavelist  Window", ID_WAVELIST_WINDOW, true), Separator(),
                  Entry("Automatic F3 &Calculation", ID_AUTO_F3), Separator(),
                  Entry("Select Temporary &Path ...", ID_TEMP_PATH), Separator(),
                  Entry("Log to File", ID_LOG_TO_FILE)});
}

MenuNode ToolsMenu() {
    return Popup("&Tools", {Entry("Make &Continuum...", ID_MAKE_CONTINUUM),
                            Entry("&Play Continuum", ID_PLAY_CONTINUUM), Separator(),
                            Entry("&Go to Formants...\tCtrl+G", ID_GO_TO_FORMANTS), Separator(),
                            Entry("&Listening Test...", ID_LISTENING_TEST),
                            Entry("Test &Results...", ID_TEST_RESULTS), Separator(),
                            Entry("&Listen\tCtrl+L", ID_LISTEN),
                            Entry("&Keep Last Take\tCtrl+K", ID_KEEP_LAST_TAKE)});
}

MenuNode HelpMenu() {
    return Popup("&Help", {Entry("&About this Programm\tA", ID_APP_ABOUT), Separator()});
}

} // namespace

const std::vector<MenuNode>& MainMenu() {
    static const std::vector<MenuNode> menu = {FileMenu(),    VoiceMenu(), ViewMenu(), ZoomMenu(),
                                               OptionsMenu(), ToolsMenu(), HelpMenu()};
    return menu;
}

const std::vector<KeyBinding>& KeyTable() {
    static const std::vector<KeyBinding> keys = {
        {"1", ID_MALE},
        {"2", ID_FEMALE},
        {"<", ID_CIRCLE_FORWARD},
        {">", ID_CIRCLE_BACK},
        {"Ctrl+B", ID_BATCH_CONVERT},
        {"Ctrl+C", ID_EDIT_COPY},
        {"D", ID_MODE_DIPHTHONG},
        {"G", ID_SHOW_GRID},
        {"L", ID_DURATION},
        {"N", ID_MODE_NORMAL},
        {"Ctrl+N", ID_FILE_NEW},
        {"O", ID_ADVANCED_CONTROLS},
        {"Ctrl+O", ID_FILE_OPEN},
        {"P", ID_ZOOM_PARAMETERS},
        {"Ctrl+S", ID_FILE_SAVE},
        {"Ctrl+Shift+S", ID_FILE_SAVE_AS},
        {"T", ID_FEMALE_TILT},
        {"Ctrl+V", ID_EDIT_PASTE},
        {"Alt+Backspace", ID_EDIT_UNDO},
        {"Shift+Del", ID_EDIT_CUT},
        {"Down", ID_MOVE_DOWN},
        {"F1", ID_FORMANT_MAP},
        {"F12", ID_SWITCH_SET},
        {"F2", ID_USER_MAP},
        {"F3", ID_MODIFIED_MAP},
        {"F4", ID_MODIFIED_VOWELS},
        {"F5", ID_GRAY_MAP},
        {"F6", ID_NEXT_PANE},
        {"Shift+F6", ID_PREV_PANE},
        {"Ctrl+Ins", ID_EDIT_COPY},
        {"Shift+Ins", ID_EDIT_PASTE},
        {"Left", ID_MOVE_LEFT},
        {"Return", ID_PLAY_WAVE_FILE},
        {"Enter", ID_PLAY_WAVE_FILE}, // the keypad's Enter is the same key to the user
        {"Right", ID_MOVE_RIGHT},
        {"Space", ID_PLAY},
        {"Tab", ID_NEXT_TYPE},
        {"Up", ID_MOVE_UP},
        {"Ctrl+X", ID_EDIT_CUT},
        {"Z", ID_ZOOM},
        {"Ctrl+Z", ID_EDIT_UNDO},
        {"Ctrl+E", ID_EXPORT_SOUND},
        {"Ctrl+L", ID_LISTEN},
        {"Ctrl+K", ID_KEEP_LAST_TAKE},
        {"Ctrl+G", ID_GO_TO_FORMANTS},
        {"S", ID_SPECTRUM_WINDOW},
    };
    return keys;
}

const char* CommandPrompt(int id) {
    // Each bundled set's entry cites its paper.
    if (id >= ID_REFERENCE_FIRST && id <= ID_REFERENCE_LAST) {
        const size_t index = static_cast<size_t>(id - ID_REFERENCE_FIRST);
        return index < ReferenceSets().size() ? ReferenceSets()[index].citation.c_str() : nullptr;
    }
    static const std::map<int, const char*> prompts = {
        {ID_MALE, "Adjusts vowel generation for male voices"},
        {ID_FEMALE, "Adjusts vowel generation for female voices"},
        {ID_PLAY, "Plays selected vowel"},
        {ID_FORMANT_MAP, "View initial Formantpositions"},
        {ID_FORMANT_POSITION, "Show centerfrequencies of the first two formant in the status bar."},
        {ID_NEXT_TYPE, "Step through Vowelslist"},
        {ID_ZOOM, "Zoom into map"},
        {ID_ZOOM_PARAMETERS, "Edit Grid Width in Zoom mode"},
        {ID_USER_MAP, "View adjusted Formantpositions"},
        {ID_SHOW_GRID, "Show a Grid when in Zoom Mode"},
        {ID_FEMALE_TILT, "Tilt above 3 kHz"},
        {ID_AUTO_F3, "Calculate F3 automatically"},
        {ID_DURATION, "Adjust Length of Sound"},
        {ID_MODIFIED_MAP, "Shows all modified Formantpositions"},
        {ID_SWITCH_SET, "Switch between Cardinal and Native Vowels"},
        {ID_WAVELIST_WINDOW, "Opens the Wave List Window."},
        {ID_PLAY_WAVE_FILE, "Play selected Wavefile fom Wave List window."},
        {ID_GRAY_MAP, "Shows a lightgrey map of all preset vowelpositions in the background of "
                      "the vowelspace."},
        {ID_BATCH_CONVERT, "Convert all Vow-Files in a directory to an ascii-file representation."},
        {ID_FILE_SAVE_AS, "Save the active document with a new name\nSave As"},
        {ID_TEMP_PATH, "Select a path for temporary files"},
        {ID_CIRCLE_PARAMETERS, "Edits radius and step for circle mode."},
        {ID_ADVANCED_CONTROLS, "Attaches further control items to the window."},
        {ID_MODE_NORMAL,
         "Normal mode. \nWhen Clicking in Vowel mode a quasi-static vowel is produced"},
        {ID_MODE_DIPHTHONG,
         "Enter Diphthong Mode. When in this mode, you may select a second point with right "
         "click. The produced vowel is a diphthong. This is exerimentary."},
        {ID_LOG_TO_FILE, "Write all actions into a txt-file"},
        {ID_REFERENCE_NONE, "Shows no reference vowels"},
        {ID_REFERENCE_LOAD, "Shows the mean of each vowel in a table of your own (CSV: ipa or "
                            "vowel, F1, F2 in Hz; of several groups the first)"},
        {ID_REFERENCE_SPREAD,
         "Draws an ellipse of one standard deviation around each reference vowel"},
        {ID_AXIS_LABELS, "Shows the frequencies along the top (F1) and left (F2) edges"},
        {ID_EXPORT_CHART, "Writes the chart as it is shown to an SVG, PDF or PNG file"},
        {ID_SPECTRUM_WINDOW, "Shows the spectrum of every vowel played: sound, filter and source"},
        {ID_RECORDINGS_ON_CHART,
         "Measures the recordings of the wave list and shows them at their F1 and F2"},
        {ID_RECORDING_TRACKS, "Shows how the formants of each recording move, as a thin line"},
        {ID_EXPORT_SOUND, "Saves the vowel you hear as a WAV or FLAC file"},
        {ID_NEW_VOICE, "Makes a voice at the pitch you choose and adds it to the Voices"},
        {ID_MAKE_CONTINUUM, "Writes vowels at equal steps between two points as sound files"},
        {ID_PLAY_CONTINUUM, "Plays the steps of the last continuum in order"},
        {ID_GO_TO_FORMANTS, "Moves the point to the formants you type and plays it"},
        {ID_LISTENING_TEST, "Sets up and runs an identification or discrimination test"},
        {ID_TEST_RESULTS, "Shows the identification curves and boundaries of a responses file"},
        {ID_LISTEN,
         "Shows the formants of your voice on the chart as you speak into the microphone"},
        {ID_KEEP_LAST_TAKE,
         "Saves the last voiced stretch heard into the documents folder and adds it to the wave "
         "list"},
    };
    const auto it = prompts.find(id);
    return it == prompts.end() ? nullptr : it->second;
}
