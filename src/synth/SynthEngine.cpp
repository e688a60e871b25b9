#include "synth/SynthEngine.h"

#include "synth/EndFade.h"
#include "synth/FrameSynth.h"
#include "synth/WavFile.h"

#include <algorithm>
#include <new>
#include <utility>

namespace {

constexpr int64_t kMaxSamplesPerFrame = 20000; // frames of at most 2000 ms

void FailAllocation(Report& report, const char* text) {
    report.FailForGood(text, "Error", MsgIcon::Error);
}

// Every run starts from the same configuration; the store keeps the loaded voice.
void ConfigureState(SynthState& state, VoicingSource source, FilterConfiguration configuration) {
    state.quiet = 0;
    state.configuration = kConfigParallelOnly;
    state.sampleRate = kRunSampleRate;
    state.cascadeCount = 0;
    state.sourceKind = static_cast<int8_t>(source);
    if (configuration == FilterConfiguration::Cascade) {
        state.configuration = kConfigCascade;
        state.cascadeCount = 5;
    }
}

// Renders the five frames one after the other; filters and source run on across frames.
// What the frames note goes into the report.
void RenderFrames(SynthState& state, CarriedValues& carried, const VowelTrack& track,
                  std::vector<int32_t>& sound, Report& report) {
    InitSynthState(state);
    state.messages = Report();
    for (int k = 0; k < kTrackFrames; ++k) {
        SynthFrame frameCopy = track[k];
        SynthesizeFrame(state, frameCopy, carried, sound.data() + k * state.samplesPerFrame);
    }
    report.Append(state.messages);
    state.messages = Report();
}

} // namespace

SynthEngine::SynthEngine(std::string outputFolder) : m_outputFolder(std::move(outputFolder)) {}

SynthEngine::~SynthEngine() = default;

SynthState* SynthEngine::EnsureState(Report& report) {
    if (!m_state) {
        try {
            m_state = std::make_unique<SynthState>();
        } catch (const std::bad_alloc&) {
            FailAllocation(report, "malloc failed for globals");
            return nullptr;
        }
    }
    return m_state.get();
}

// Loads voiceFile unless it is empty or already loaded; when it cannot be opened the
// report fails and the store and the remembered name stay as they were.
void SynthEngine::LoadIntoStore(SynthState& state, const std::string& voiceFile, Report& report) {
    if (voiceFile.empty() || voiceFile == m_loadedVoiceFile)
        return;
    VoiceSamples loaded;
    const Report read = ReadVoiceFile(voiceFile, loaded);
    report.Append(read);
    if (!read.Ok())
        return;
    state.voice = std::move(loaded);
    m_loadedVoiceFile = voiceFile;
}

// The source reads every sample of the run but the first: 5 x samplesPerFrame - 1 of them.
// A store that holds fewer (or none) is refused before rendering.
void SynthEngine::CheckStoreHoldsEnough(const SynthState& state, int64_t totalSamples,
                                        Report& report) const {
    const int64_t needed = std::max<int64_t>(totalSamples - 1, 0);
    const int64_t held = static_cast<int64_t>(state.voice.samples.size());
    if (held > 0 && held >= needed)
        return;
    if (m_loadedVoiceFile.empty())
        report.Fail("No voicing samples file is loaded; this vowel needs " +
                        std::to_string(needed) + " samples.",
                    "Error", MsgIcon::Error);
    else
        report.Fail("The voicing samples file\n" + m_loadedVoiceFile + "\nholds " +
                        std::to_string(held) + " samples; this vowel needs " +
                        std::to_string(needed) + ".",
                    "Error", MsgIcon::Error);
}

Report SynthEngine::RenderTrack(const VowelTrack& track, const std::string& voiceFile, int frameMs,
                                VoicingSource source, FilterConfiguration configuration,
                                std::vector<int32_t>& sound) {
    Report report;
    SynthState* const state = EnsureState(report);
    if (!state)
        return report;
    ConfigureState(*state, source, configuration);
    const int64_t samplesPerFrame = int64_t{state->sampleRate} * frameMs / 1000;
    if (samplesPerFrame < 0 || samplesPerFrame > kMaxSamplesPerFrame) {
        report.Fail("The frame length of " + std::to_string(frameMs) +
                        " ms is outside 0 to 2000 ms.",
                    "Error", MsgIcon::Error);
        return report;
    }
    state->samplesPerFrame = static_cast<int32_t>(samplesPerFrame);
    LoadIntoStore(*state, voiceFile, report);
    if (!report.Ok())
        return report;
    const int64_t totalSamples = kTrackFrames * samplesPerFrame;
    if (state->sourceKind == kSourceSampled)
        CheckStoreHoldsEnough(*state, totalSamples, report);
    if (!report.Ok())
        return report;
    try {
        sound.assign(static_cast<size_t>(totalSamples), 0);
    } catch (const std::bad_alloc&) {
        FailAllocation(report, "malloc failed");
        return report;
    }
    RenderFrames(*state, m_carried, track, sound, report);
    return report;
}

SynthesisResult SynthEngine::RunSynthesis(const VowelTrack& track, const std::string& rawPath,
                                          const std::string& voiceFile, int frameMs,
                                          VoicingSource source, FilterConfiguration configuration) {
    SynthesisResult result;
    std::vector<int32_t> sound;
    result.report = RenderTrack(track, voiceFile, frameMs, source, configuration, sound);
    if (!result.Ok())
        return result;
    const std::string wavPath = WavPathFromRawPath(rawPath);
    if (wavPath.empty()) {
        result.report.Fail();
        return result;
    }
    result.report.Append(WriteWavFile(wavPath, m_endFade ? FadeOutForSixteenBits(sound) : sound));
    if (result.Ok())
        result.wavPath = wavPath;
    return result;
}

void BuildTrackForVowel(VowelTrack& track, int tiltDb, int f1, int f2, int f3, int f1End,
                        int f2End) {
    const int32_t third = f3 > 0 ? f3 : 2750;
    const FormantTargets targets{f1, f2, third, 3850, 4950};
    if (f1End > 0)
        BuildDiphthongTrack(track, targets, FormantTargets{f1End, f2End, third, 3850, 4950},
                            tiltDb);
    else
        BuildVowelTrack(track, targets, tiltDb);
}

SynthState FrameSetUp(const SynthFrame& frame) {
    SynthState state;
    ConfigureState(state, VoicingSource::Sampled, FilterConfiguration::Cascade);
    state.quiet = 1;
    InitSynthState(state);
    SynthFrame copy = frame;
    PrepareFrame(state, copy);
    // The period update flips a skew sign; this one belongs to no engine.
    CarriedValues untouched;
    ResetPeriod(state, copy, untouched);
    return state;
}

SynthesisResult SynthEngine::SynthesizeVowel(const std::string& voiceFile, int tiltDb, int frameMs,
                                             int f1, int f2, int f3, int f1End, int f2End) {
    BuildTrackForVowel(m_track, tiltDb, f1, f2, f3, f1End, f2End);
    return RunSynthesis(m_track, m_outputFolder + "/temp.raw", voiceFile, frameMs,
                        VoicingSource::Sampled, FilterConfiguration::Cascade);
}

Report SynthEngine::RenderVowel(const std::string& voiceFile, int tiltDb, int frameMs, int f1,
                                int f2, int f3, int f1End, int f2End,
                                std::vector<int32_t>& samples) {
    BuildTrackForVowel(m_track, tiltDb, f1, f2, f3, f1End, f2End);
    return RenderTrack(m_track, voiceFile, frameMs, VoicingSource::Sampled,
                       FilterConfiguration::Cascade, samples);
}

void SynthEngine::Release() {
    m_state.reset();
    // The store is gone, so the next run must read its voice file again.
    m_loadedVoiceFile.clear();
}

const VoiceSamples& SynthEngine::LoadedVoiceSamples() const {
    static const VoiceSamples none;
    return m_state ? m_state->voice : none;
}
