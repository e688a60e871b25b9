// The synthesis engine: from formant targets to five rendered frames and the file "temp.wav".
#pragma once

#include "base/Report.h"
#include "synth/FrameSynth.h"
#include "synth/SynthFrame.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// What a run tells its caller: its report and, when it succeeded, the WAV file it wrote.
struct SynthesisResult {
    Report report;
    std::string wavPath; // empty unless the report is Ok

    bool Ok() const { return report.Ok(); }
};

// Samples per second of every run.
constexpr int kRunSampleRate = 10000;

// The source that voices a run. The sampled natural voicing is the only one rendered; a run
// asked for any other kind notes "error wrong source" once and its source stays silent.
enum class VoicingSource : int8_t { Sampled = kSourceSampled };

// The filter configuration of a run: the cascade of five formants beside the parallel branch,
// or the parallel branch alone (noted once per run as "no cascade!"; the cascade is silent).
enum class FilterConfiguration : int8_t {
    Cascade = kConfigCascade,
    ParallelOnly = kConfigParallelOnly,
};

// Fills track with the five frames of a vowel: f3 of 0 or less means 2750 Hz, F4 and F5
// are 3850 and 4950 Hz; f1End > 0 makes a diphthong gliding toward (f1End, f2End).
void BuildTrackForVowel(VowelTrack& track, int tiltDb, int f1, int f2, int f3, int f1End,
                        int f2End);

// A state holding what a vowel run sets up for one of its frames, without rendering: the
// coefficients of every filter section, the gains and the source's tilt, read-only copies
// for those who draw the synthesizer's response. Touches no engine.
SynthState FrameSetUp(const SynthFrame& frame);

// One formant synthesizer with everything a run carries over to the next: the synthesizer
// state and its store of voice samples with the name of their file, the tilt and source
// memories and the skew sign, the end-fade switch, the last vowel's track, and the folder its
// "temp.wav" goes to. A new engine starts from rest, as a new process does; two engines share
// nothing, so each thread may own one. An engine itself is used by one thread at a time.
class SynthEngine {
public:
    // outputFolder: where SynthesizeVowel writes "temp.wav" (held without a trailing "/").
    explicit SynthEngine(std::string outputFolder = "");
    ~SynthEngine();
    SynthEngine(const SynthEngine&) = delete;
    SynthEngine& operator=(const SynthEngine&) = delete;

    const std::string& OutputFolder() const { return m_outputFolder; }
    void SetOutputFolder(const std::string& folder) { m_outputFolder = folder; }

    // Renders a vowel into "temp.wav" in the output folder with the voicing of voiceFile.
    // tiltDb 0..24; frameMs is the length of each of the five frames (the run accepts 0 to
    // 2000 ms); for the formants see BuildTrackForVowel. Shows nothing: the result holds the
    // messages and the file written.
    SynthesisResult SynthesizeVowel(const std::string& voiceFile, int tiltDb, int frameMs, int f1,
                                    int f2, int f3, int f1End, int f2End);

    // Builds the track exactly as SynthesizeVowel does and renders its five frames into
    // samples: the 32-bit samples before the run's 16-bit scaling.
    Report RenderVowel(const std::string& voiceFile, int tiltDb, int frameMs, int f1, int f2,
                       int f3, int f1End, int f2End, std::vector<int32_t>& samples);

    // Renders a five-frame track and writes it as a WAV file at rawPath with its extension
    // replaced by ".wav", its last 15 ms faded out unless the end fade is off (EndFade.h).
    // An empty rawPath fails without a message. The report holds, in order, what stopped the
    // run before rendering, what the frames noted (a message that would repeat at every
    // sample only once), and what stopped the writing.
    SynthesisResult RunSynthesis(const VowelTrack& track, const std::string& rawPath,
                                 const std::string& voiceFile, int frameMs, VoicingSource source,
                                 FilterConfiguration configuration);

    // Switches the fade at the end of every written sound on (the default) or off; off, the
    // file holds the five frames exactly as rendered, ending wherever the last frame stops.
    void SetEndFade(bool on) { m_endFade = on; }

    // Frees the synthesizer state and the sample store and forgets the loaded voice file, so
    // that the next run reads its voice file afresh. The values carried stay.
    void Release();

    // Puts the values carried back to zero, so that the next run sounds as the first run of a
    // new engine; the voice stays loaded. For owners that render every vowel as a new process
    // would (the steps of a continuum) without reading the voice file again for each.
    void StartFromRest() { m_carried = CarriedValues(); }

    // The voice data file whose samples are in the store ("" when none).
    const std::string& LoadedVoiceFile() const { return m_loadedVoiceFile; }

    // The samples in the store, read-only: those every run voices its vowels with (empty
    // before the first run and after Release).
    const VoiceSamples& LoadedVoiceSamples() const;

    // The track of the last vowel SynthesizeVowel or RenderVowel built.
    const VowelTrack& Track() const { return m_track; }

    // The values the next run starts from.
    const CarriedValues& Carried() const { return m_carried; }

private:
    // The state, created by the first run; nullptr (the report failed for good) without memory.
    SynthState* EnsureState(Report& report);
    void LoadIntoStore(SynthState& state, const std::string& voiceFile, Report& report);
    void CheckStoreHoldsEnough(const SynthState& state, int64_t totalSamples, Report& report) const;
    // The run up to the finished 32-bit sound, shared by RunSynthesis and RenderVowel.
    Report RenderTrack(const VowelTrack& track, const std::string& voiceFile, int frameMs,
                       VoicingSource source, FilterConfiguration configuration,
                       std::vector<int32_t>& sound);

    std::unique_ptr<SynthState> m_state; // created by the first run, kept until Release
    std::string m_loadedVoiceFile;       // the file whose samples are in the store
    CarriedValues m_carried;
    bool m_endFade = true;
    VowelTrack m_track{};
    std::string m_outputFolder;
};
