// A vowel exactly as the chart plays it, rendered into memory.
#pragma once

#include "synth/SynthEngine.h"

#include <cstdint>
#include <string>
#include <vector>

// What the chart hands the engine for one vowel: the voice, the tilt, the frame length and
// the formants (a steady vowel, or a diphthong toward a second point), and whether the sound
// ends with the fade that every played vowel has.
struct VowelStimulus {
    std::string voiceFile;
    int tiltDb = 0;      // 0 to 24
    int frameMs = 100;   // each of the five frames, 1 to 2000 ms
    int f1 = 0;          // Hz
    int f2 = 0;          // Hz
    int f3 = 0;          // Hz; 0 or less: 2750 Hz, as the engine takes it
    int f1End = 0;       // Hz; above 0: a diphthong gliding toward (f1End, f2End)
    int f2End = 0;       // Hz
    bool endFade = true; // false: the five frames exactly as they end
};

// A rendered vowel at the engine's 10000 samples per second, in 16-bit units.
struct RenderedVowel {
    std::vector<int16_t> pcm16; // exactly the samples the chart's temp.wav holds
    std::vector<double> exact;  // the same sound before the truncation to whole numbers
    double ownScale = 1;        // the factor (at most 1) that brought the engine's sound into
                                // 16 bits: exact / ownScale is the vowel at its own level
};

constexpr int kRenderedRate = 10000;

// Renders the vowel with an engine of its own, as a new process would (the first vowel of a
// session: the same values always give the same samples, those of `quirnel-cli render`), and
// scales (and fades) it as the WAV writer does. Any thread may call it. Returns "" on
// success, else the engine's message (an unusable voice file, say).
std::string RenderStimulus(const VowelStimulus& vowel, RenderedVowel& rendered);

// The same with the given engine, started from rest (SynthEngine::StartFromRest): it gives the
// same samples, and keeps the voice loaded for the next vowel.
std::string RenderStimulus(SynthEngine& engine, const VowelStimulus& vowel,
                           RenderedVowel& rendered);
