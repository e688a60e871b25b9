// Every setting the program keeps between runs, in one place, with typed accessors.
#pragma once

#include <string>

// What a folder setting reads as when the profile does not hold it.
enum class FolderDefault {
    StartFolder, // the working directory at start-up (g_strStartDir)
    None,        // "": no folder chosen yet
};

// A folder path kept in the profile; any text is taken as it is.
struct FolderSetting {
    const char* section;
    const char* key;
    FolderDefault whenAbsent;
};

// A whole number kept in the profile as decimal text; a value that is missing, not a
// number or outside minimum..maximum reads as the default.
struct NumberSetting {
    const char* section;
    const char* key;
    int defaultValue;
    int minimum;
    int maximum;
};

// A text kept in the profile as it is; absent reads as the default.
struct TextSetting {
    const char* section;
    const char* key;
    const char* defaultValue;
};

// The settings. Nothing else in the program names a section or a key of the profile.
namespace settings {

// Folder of the documents (.vow): read when the document loads its presets (on start and
// on every New), written after Open and after a confirmed Save As.
inline constexpr FolderSetting kDocumentFolder{"Directories", "Vow", FolderDefault::StartFolder};
// Folder of "temp.wav": read at start-up; a folder chosen while the program runs is not
// stored, so it is never written.
inline constexpr FolderSetting kTempWavFolder{"Directories", "Tempwav", FolderDefault::StartFolder};
// Folder of the voice data files (*.dat): read when the main window is made, written when
// it defaults or the user locates it.
inline constexpr FolderSetting kVoiceFolder{"Directories", "Dat", FolderDefault::None};
// Folder of the wave list window's file dialogs: read when the window opens, written when
// a dialog chose a file.
inline constexpr FolderSetting kWaveListFolder{"Directories", "Wavelist", FolderDefault::None};
// Cells of the zoom grid, in pixels: read when the view is made, written when it goes.
inline constexpr NumberSetting kZoomFactor{"Options", "Zoomfactor", 25, 1, 380};
// The female voice's spectral tilt above 3 kHz, in dB: read when the view is made,
// written when it goes.
inline constexpr NumberSetting kFemaleTilt{"Options", "Femaletilt", 6, 0, 24};

// --- What the chart shows beside its vowels: each written when the user changes it, read
// when the view is made.
// The reference vowels: "" for none, a bundled set's key ("peterson-barney-1952:men") or
// the path of the user's own table.
inline constexpr TextSetting kReferenceVowels{"Chart", "ReferenceVowels", ""};
// 1: the reference vowels' spread is drawn (an ellipse of one standard deviation).
inline constexpr NumberSetting kReferenceSpread{"Chart", "ReferenceSpread", 0, 0, 1};
// 1: ticks and labels of F1 and F2 along the chart's top and left edges.
inline constexpr NumberSetting kAxisLabels{"Chart", "AxisLabels", 0, 0, 1};
// 1: the wave list's recordings are measured and drawn at their F1/F2 (View > Recordings on
// Chart).
inline constexpr NumberSetting kRecordingsOnChart{"Chart", "Recordings", 0, 0, 1};
// 1: each recording's track is drawn as a thin line (View > Recording Tracks).
inline constexpr NumberSetting kRecordingTracks{"Chart", "RecordingTracks", 0, 0, 1};
// The folder the last chart was exported to (File > Export Chart), where the next one is
// proposed; absent: the documents' folder.
inline constexpr FolderSetting kChartExportFolder{"Chart", "ExportFolder", FolderDefault::None};

// --- The spectrum window: each written when the user changes it, read when the view is made.
// 1: the window is shown (View > Spectrum).
inline constexpr NumberSetting kSpectrumWindow{"Spectrum", "Window", 0, 0, 1};
// 1: the voicing source is drawn beside the sound and the filter.
inline constexpr NumberSetting kSpectrumSource{"Spectrum", "Source", 1, 0, 1};
// 1: the frequency axis is logarithmic.
inline constexpr NumberSetting kSpectrumLog{"Spectrum", "LogFrequency", 0, 0, 1};
// The level axis: its top and its range, in dB.
inline constexpr NumberSetting kSpectrumTopDb{"Spectrum", "TopDb", 0, -60, 20};
inline constexpr NumberSetting kSpectrumRangeDb{"Spectrum", "RangeDb", 90, 20, 160};

// --- Stimuli: sounds exported from the window and vowel continua -----------------------------
// Their sample rate in Hz: read and written by File > Export Sound and Tools > Make
// Continuum. A rate the exports cannot write reads as 10000 there.
inline constexpr NumberSetting kStimulusRate{"Stimuli", "Rate", 10000, 10000, 48000};
// Their sample format: "pcm16", "pcm24" or "float", read and written with the rate.
inline constexpr TextSetting kStimulusFormat{"Stimuli", "Format", "pcm16"};
// Their level: "natural", "peak" or "rms=DB", read and written with the rate.
inline constexpr TextSetting kStimulusLevel{"Stimuli", "Level", "natural"};
// The folder the last sound or continuum went to, where the next one is proposed.
inline constexpr FolderSetting kStimulusFolder{"Stimuli", "Folder", FolderDefault::None};

} // namespace settings

// Read and write a setting through the installed profile (Profile.h).
std::string ReadSetting(const FolderSetting& setting);
// The same, with another folder standing in for the setting's default when it is absent.
std::string ReadSetting(const FolderSetting& setting, const std::string& whenAbsent);
void WriteSetting(const FolderSetting& setting, const std::string& folder);
std::string ReadSetting(const TextSetting& setting);
void WriteSetting(const TextSetting& setting, const std::string& text);
int ReadSetting(const NumberSetting& setting);
void WriteSetting(const NumberSetting& setting, int value);
