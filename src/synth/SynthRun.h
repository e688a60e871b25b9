// The synthesis run: from formant targets to five rendered frames and the file "temp.wav".
#pragma once

#include "base/Report.h"
#include "synth/FrameSynth.h"
#include "synth/SynthFrame.h"

#include <cstdint>
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

// Renders a vowel into "temp.wav" in g_strTempDir with the voicing of voiceFile.
// tiltDb 0..24; frameMs is the length of each of the five frames (the run accepts 0 to
// 2000 ms); f3 of 0 or less means 2750 Hz; f1End > 0 makes a diphthong gliding toward
// (f1End, f2End). Shows nothing: the result holds the messages and the file written.
SynthesisResult SynthesizeVowel(const std::string& voiceFile, int tiltDb, int frameMs, int f1,
                                int f2, int f3, int f1End, int f2End);

// Builds the track exactly as SynthesizeVowel does and renders its five frames into
// samples: the 32-bit samples before the run's 16-bit scaling.
Report RenderVowel(const std::string& voiceFile, int tiltDb, int frameMs, int f1, int f2, int f3,
                   int f1End, int f2End, std::vector<int32_t>& samples);

// Fills track exactly as SynthesizeVowel and RenderVowel fill the process-wide track.
void BuildTrackForVowel(VowelTrack& track, int tiltDb, int f1, int f2, int f3, int f1End,
                        int f2End);

// A state holding what a vowel run sets up for one of its frames, without rendering: the
// coefficients of every filter section, the gains and the source's tilt, read-only copies
// for those who draw the synthesizer's response. Touches nothing a run carries over.
SynthState FrameSetUp(const SynthFrame& frame);

// Renders a five-frame track and writes it as a WAV file at rawPath with its extension
// replaced by ".wav", its last 15 ms faded out unless the end fade is off (EndFade.h).
// sourceKind 3 = sampled voicing; configSwitch 1 = cascade with five formants; reserved is
// not read. An empty rawPath fails without a message. The report holds, in order, what
// stopped the run before rendering, what the frames noted (a message that would repeat at
// every sample only once), and what stopped the writing.
SynthesisResult RunSynthesis(const VowelTrack& track, const std::string& rawPath,
                             const std::string& voiceFile, int frameMs, int sourceKind,
                             int configSwitch, int reserved);

// Switches the fade at the end of every written sound on (the default) or off; off, the
// file holds the five frames exactly as rendered, ending wherever the last frame stops.
void SetEndFade(bool on);

// Frees the synthesizer state and the sample store and forgets the loaded voice file, so
// that the next run starts afresh.
void ReleaseSynthesis();

// The voice data file whose samples are in the store ("" when none).
const std::string& LoadedVoiceFile();

// The samples in the store, read-only: those every run voices its vowels with (empty before
// the first run and after ReleaseSynthesis).
const VoiceSamples& LoadedVoiceSamples();
