#include "synth/SynthRun.h"

#include "base/Directories.h"
#include "base/MessageBox.h"
#include "synth/EndFade.h"
#include "synth/FrameSynth.h"
#include "synth/WavFile.h"

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <new>

namespace {

constexpr int kRunSampleRate = 10000;
constexpr int64_t kMaxSamplesPerFrame = 20000; // frames of at most 2000 ms

// The synthesizer state and its sample store: created by the first run, kept until release.
std::unique_ptr<SynthState> g_state;
// The voice data file whose samples are in the store.
std::string g_loadedVoiceFile;
// Whether written sounds end with the fade.
bool g_endFade = true;

[[noreturn]] void FailAllocation(const char* text) {
    ShowMessage(text, "Error", MsgIcon::Error);
    std::exit(1);
}

SynthState& EnsureState() {
    if (!g_state) {
        try {
            g_state = std::make_unique<SynthState>();
        } catch (const std::bad_alloc&) {
            FailAllocation("malloc failed for globals");
        }
    }
    return *g_state;
}

// Every run starts from the same configuration; the store keeps the loaded voice.
void ConfigureState(SynthState& state, int sourceKind, int configSwitch) {
    state.quiet = 0;
    state.configuration = kConfigParallelOnly;
    state.sampleRate = kRunSampleRate;
    state.cascadeCount = 0;
    state.sourceKind = static_cast<int8_t>(sourceKind);
    if (configSwitch == 1) {
        state.configuration = kConfigCascade;
        state.cascadeCount = 5;
    }
}

// Loads voiceFile unless it is empty or already loaded; false after the message when it
// cannot be opened (the store and the remembered name then stay as they were).
bool LoadIntoStore(SynthState& state, const std::string& voiceFile) {
    if (voiceFile.empty() || voiceFile == g_loadedVoiceFile)
        return true;
    VoiceSamples loaded;
    VoiceFileStatus status = VoiceFileStatus::CantOpen;
    try {
        status = ReadVoiceFile(voiceFile, loaded);
    } catch (const std::bad_alloc&) {
        FailAllocation("malloc failed for natural samples");
    }
    if (status == VoiceFileStatus::CantOpen) {
        ShowMessage("Can't open voicing samples file:\n" + voiceFile, "Error", MsgIcon::Error);
        return false;
    }
    state.voice = std::move(loaded);
    g_loadedVoiceFile = voiceFile;
    return true;
}

// The source reads every sample of the run but the first: 5 x samplesPerFrame - 1 of them.
// A store that holds fewer (or none) is refused before rendering.
bool StoreHoldsEnough(const SynthState& state, int64_t totalSamples) {
    const int64_t needed = std::max<int64_t>(totalSamples - 1, 0);
    const int64_t held = static_cast<int64_t>(state.voice.samples.size());
    if (held > 0 && held >= needed)
        return true;
    if (g_loadedVoiceFile.empty())
        ShowMessage("No voicing samples file is loaded; this vowel needs " +
                        std::to_string(needed) + " samples.",
                    "Error", MsgIcon::Error);
    else
        ShowMessage("The voicing samples file\n" + g_loadedVoiceFile + "\nholds " +
                        std::to_string(held) + " samples; this vowel needs " +
                        std::to_string(needed) + ".",
                    "Error", MsgIcon::Error);
    return false;
}

// Renders the five frames one after the other; filters and source run on across frames.
void RenderFrames(SynthState& state, const VowelTrack& track, std::vector<int32_t>& sound) {
    InitSynthState(state);
    for (int k = 0; k < kTrackFrames; ++k) {
        SynthFrame frameCopy = track[k];
        SynthesizeFrame(state, frameCopy, sound.data() + k * state.samplesPerFrame);
    }
}

// The run up to the finished 32-bit sound, shared by RunSynthesis and RenderVowel.
bool RenderTrack(const VowelTrack& track, const std::string& voiceFile, int frameMs, int sourceKind,
                 int configSwitch, std::vector<int32_t>& sound) {
    SynthState& state = EnsureState();
    ConfigureState(state, sourceKind, configSwitch);
    const int64_t samplesPerFrame = int64_t{state.sampleRate} * frameMs / 1000;
    if (samplesPerFrame < 0 || samplesPerFrame > kMaxSamplesPerFrame) {
        ShowMessage("The frame length of " + std::to_string(frameMs) +
                        " ms is outside 0 to 2000 ms.",
                    "Error", MsgIcon::Error);
        return false;
    }
    state.samplesPerFrame = static_cast<int32_t>(samplesPerFrame);
    if (!LoadIntoStore(state, voiceFile))
        return false;
    const int64_t totalSamples = kTrackFrames * samplesPerFrame;
    if (state.sourceKind == kSourceSampled && !StoreHoldsEnough(state, totalSamples))
        return false;
    try {
        sound.assign(static_cast<size_t>(totalSamples), 0);
    } catch (const std::bad_alloc&) {
        FailAllocation("malloc failed");
    }
    RenderFrames(state, track, sound);
    return true;
}

// Fills the process-wide track from the chart's formants as the entry does.
void BuildTrackForVowel(int tiltDb, int f1, int f2, int f3, int f1End, int f2End) {
    const int32_t third = f3 > 0 ? f3 : 2750;
    const FormantTargets targets{f1, f2, third, 3850, 4950};
    if (f1End > 0)
        BuildDiphthongTrack(g_vowelTrack, targets, FormantTargets{f1End, f2End, third, 3850, 4950},
                            tiltDb);
    else
        BuildVowelTrack(g_vowelTrack, targets, tiltDb);
}

} // namespace

int RunSynthesis(const VowelTrack& track, const std::string& rawPath, const std::string& voiceFile,
                 int frameMs, int sourceKind, int configSwitch, int /*reserved*/) {
    std::vector<int32_t> sound;
    if (!RenderTrack(track, voiceFile, frameMs, sourceKind, configSwitch, sound))
        return 0;
    const std::string wavPath = WavPathFromRawPath(rawPath);
    if (wavPath.empty())
        return 0;
    return WriteWavFile(wavPath, g_endFade ? FadeOutForSixteenBits(sound) : sound) ? 1 : 0;
}

int SynthesizeVowel(const std::string& voiceFile, int tiltDb, int frameMs, int f1, int f2, int f3,
                    int f1End, int f2End) {
    BuildTrackForVowel(tiltDb, f1, f2, f3, f1End, f2End);
    return RunSynthesis(g_vowelTrack, g_strTempDir + "/temp.raw", voiceFile, frameMs,
                        kSourceSampled, 1, 2);
}

int RenderVowel(const std::string& voiceFile, int tiltDb, int frameMs, int f1, int f2, int f3,
                int f1End, int f2End, std::vector<int32_t>& samples) {
    BuildTrackForVowel(tiltDb, f1, f2, f3, f1End, f2End);
    return RenderTrack(g_vowelTrack, voiceFile, frameMs, kSourceSampled, 1, samples) ? 1 : 0;
}

void SetEndFade(bool on) {
    g_endFade = on;
}

bool LoadVoiceFile(const std::string& voiceFile) {
    return LoadIntoStore(EnsureState(), voiceFile);
}

void ReleaseSynthesis() {
    g_state.reset();
    // The store is gone, so the next run must read its voice file again.
    g_loadedVoiceFile.clear();
}

const std::string& LoadedVoiceFile() {
    return g_loadedVoiceFile;
}
