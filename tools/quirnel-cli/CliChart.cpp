// quirnel-cli chart: the vowel chart as an SVG, PDF or PNG figure, drawn by the window's own
// drawing code without a display.
#include "Cli.h"

#include "audio/WaveListFile.h"
#include "doc/TundrelDoc.h"
#include "doc/VowelInventory.h"
#include "reference/ReferenceSet.h"
#include "drawing/ChartDrawing.h"
#include "drawing/ChartFigure.h"
#include "chart/ChartState.h"
#include "drawing/DataFolders.h"
#include "drawing/RecordingMeasure.h"

#include "CliFigures.h"

#include <filesystem>
#include <map>
#include <optional>

namespace {

// The maps of --map: the page's presets (Formant Map), its stored positions (User Formant
// Map), every changed vowel (Modified Map) or every preset in light grey (Gray Map).
const std::map<std::string, std::optional<ChartMap>> kMaps = {
    {"none", std::nullopt},          {"presets", ChartMap::Formant}, {"user", ChartMap::User},
    {"changed", ChartMap::Modified}, {"all", ChartMap::Gray},
};

// The value of a word option, one of the words (the first when it was not given); false
// with a message when it is none of them.
bool ReadWord(const CliOptions& options, const std::string& name,
              const std::vector<std::string>& words, std::string& value) {
    if (!options.Has(name)) {
        value = words.front();
        return true;
    }
    value = options.Get(name);
    for (const std::string& word : words)
        if (value == word)
            return true;
    std::string list;
    for (const std::string& word : words)
        list += (list.empty() ? "" : ", ") + word;
    CliError("--" + name + " must be one of " + list + ", not \"" + value + "\"");
    return false;
}

// A --reference value that is neither a bundled set nor a file, but looks like STUDY:GROUP.
bool LooksLikeUnknownSet(const std::string& value) {
    std::error_code error;
    return !FindReferenceSet(value) && value.find(':') != std::string::npos &&
           value.find('/') == std::string::npos && !std::filesystem::exists(value, error);
}

std::string ReferenceSetList() {
    std::string list;
    for (const ReferenceSet& set : ReferenceSets())
        list += "\n  " + set.key + "  (" + set.label + ")";
    return list;
}

// Everything the options ask for, checked before anything is read or drawn.
struct ChartRequest {
    std::string doc;
    int gender = kMale;
    int set = kCardinal;
    std::optional<ChartMap> map;
    bool bark = false;
    std::string reference;
    bool spread = false;
    bool axes = false;
    std::string recordings; // a wave list (.wlist) whose recordings are measured and drawn
    bool tracks = false;
    std::string out;
};

bool ReadRequest(const std::vector<std::string>& arguments, ChartRequest& request) {
    CliOptions options;
    if (!options.Parse(arguments,
                       {"doc", "gender", "set", "map", "scale", "reference", "recordings", "out"},
                       {"spread", "axes", "tracks"}))
        return false;
    if (!options.Positional().empty()) {
        CliError("chart takes no file name of its own: name the document with --doc, a table "
                 "with --reference and the figure with --out");
        return false;
    }
    std::string gender, set, map, scale;
    if (!ReadWord(options, "gender", {"male", "female"}, gender) ||
        !ReadWord(options, "set", {"cardinal", "native"}, set) ||
        !ReadWord(options, "map", {"presets", "none", "user", "changed", "all"}, map) ||
        !ReadWord(options, "scale", {"hz", "bark"}, scale))
        return false;
    request.gender = gender == "male" ? kMale : kFemale;
    request.set = set == "cardinal" ? kCardinal : kNative;
    request.map = kMaps.at(map);
    request.bark = scale == "bark";
    request.doc = options.Get("doc");
    if (options.Has("doc") && request.doc.empty()) {
        CliError("--doc needs a document (.vow)");
        return false;
    }
    request.reference = options.Get("reference");
    if (options.Has("reference") &&
        (request.reference.empty() || LooksLikeUnknownSet(request.reference))) {
        CliError("--reference must be a table file (.csv) or one of these sets, not \"" +
                 request.reference + "\":" + ReferenceSetList());
        return false;
    }
    request.recordings = options.Get("recordings");
    if (options.Has("recordings") && request.recordings.empty()) {
        CliError("--recordings needs a wave list (.wlist)");
        return false;
    }
    request.tracks = options.Has("tracks");
    if (request.tracks && request.recordings.empty()) {
        CliError("--tracks draws the tracks of --recordings, which was not given");
        return false;
    }
    request.spread = options.Has("spread");
    request.axes = options.Has("axes");
    request.out = options.Get("out");
    if (request.out.empty()) {
        CliError("chart needs --out FILE.svg, FILE.pdf or FILE.png");
        return false;
    }
    if (FigureFormatOfName(request.out) == FigureFormat::Unknown) {
        CliError("cannot tell what kind of picture to write to \"" + request.out +
                 "\": the name must end in .svg, .pdf or .png");
        return false;
    }
    return true;
}

// Measures every recording of the wave list and puts those with a voiced stretch on the
// chart; what is left off is said on standard error. False when the list cannot be read.
bool ShowRecordings(const ChartRequest& request, ChartState& state) {
    std::vector<std::string> files;
    if (!LoadWaveList(files, request.recordings))
        return false;
    std::vector<ChartRecording> recordings;
    for (const std::string& path : files) {
        ChartRecording recording;
        recording.path = path;
        recording.measured = true;
        recording.formants = MeasureRecordingFile(path);
        switch (PlaceOf(state.Scale(), recording)) {
        case RecordingPlace::Unreadable:
            CliError("\"" + path + "\" " + recording.formants.problem + ": not drawn");
            break;
        case RecordingPlace::Unvoiced:
            CliError("\"" + path + "\" has no voiced stretch: not drawn");
            break;
        case RecordingPlace::OutsideChart:
            CliError("\"" + path + "\" lies outside the chart: not drawn");
            break;
        case RecordingPlace::Pending:
        case RecordingPlace::OnChart:
            break;
        }
        recordings.push_back(std::move(recording));
    }
    state.SetRecordings(std::move(recordings));
    state.SetShowRecordings(true);
    state.SetRecordingTracks(request.tracks);
    return true;
}

int ChartCommand(const std::vector<std::string>& arguments) {
    ChartRequest request;
    if (!ReadRequest(arguments, request))
        return kCliBadArguments;
    const auto graphics = OffscreenGraphics();

    CTundrelDoc doc;
    if (!request.doc.empty() && !doc.OnOpenDocument(request.doc))
        return kCliFailed;
    ChartState state(&doc);
    state.SetGender(request.gender);
    state.SetVowelSet(request.set);
    if (request.map)
        state.ToggleMap(*request.map);
    state.SetBark(request.bark);
    if (!request.reference.empty()) {
        ReferenceChoice reference;
        std::string problem;
        if (!LoadReferenceChoice(request.reference, DataSearchFolders("reference"), reference,
                                 problem)) {
            CliError(problem);
            return kCliFailed;
        }
        state.SetReference(std::move(reference));
    }
    state.SetReferenceSpread(request.spread);
    state.SetAxisLabels(request.axes);
    if (!request.recordings.empty() && !ShowRecordings(request, state))
        return kCliFailed;

    std::string problem;
    if (!WriteChartFigure(request.out, state, ChooseChartLook(), problem)) {
        CliError(problem);
        return kCliFailed;
    }
    return kCliOk;
}

CliRegistrar chartReg(
    "chart",
    "  chart [--doc DOC.vow] [--gender male|female] [--set cardinal|native]\n"
    "        [--map presets|none|user|changed|all] [--scale hz|bark]\n"
    "        [--reference STUDY:GROUP|FILE.csv] [--spread] [--axes]\n"
    "        [--recordings LIST.wlist [--tracks]] --out FILE\n"
    "                             draw the vowel chart as the window does, to FILE.svg,\n"
    "                             FILE.pdf or FILE.png (twice the chart's pixels); --map:\n"
    "                             the page's presets (default), none, the document's stored\n"
    "                             positions, its changed vowels, or all presets in grey;\n"
    "                             --reference: a published set (such as\n"
    "                             peterson-barney-1952:men) or the first group of a table;\n"
    "                             --recordings: each recording of a wave list at its\n"
    "                             measured F1/F2, --tracks: with its track as a thin line",
    &ChartCommand);

} // namespace
