// The spectrum of a vowel as the synthesizer makes it: the sound, its voicing source and the
// filter that shapes the one into the other, with the formants and the harmonics near them.
#pragma once

#include "base/Report.h"
#include "synth/FrameSynth.h"

#include <array>
#include <string>
#include <vector>

// The spectra reach up to the Nyquist frequency of the synthesizer's 10000 samples/s.
constexpr double kSpectrumTopHz = 5000.0;

// A vowel as the chart or `quirnel-cli render` asks for it (see SynthesizeVowel).
struct VowelRequest {
    std::string voiceFile;
    int tiltDb = 0;
    int frameMs = 100;
    int f1 = 0, f2 = 0, f3 = 0;
    int f1End = 0, f2End = 0; // f1End > 0: a diphthong
};

// Level in dB of the response of the cascade and the output low-pass exactly as set in
// setUp (the coefficients a run uses, see FrameSetUp), at hz: 0 dB at 0 Hz.
double FilterResponseDb(const SynthState& setUp, double hz);

// The amplitude spectrum of x with a Hann window over all of x, zero-padded to fftSize
// points: for bins 0..fftSize/2, the level in dB of a sinusoid's amplitude relative to
// `reference` (a sinusoid of that amplitude reads 0 dB at its frequency).
std::vector<double> HannSpectrumDb(const std::vector<double>& x, size_t fftSize, double reference);

// The strongest harmonic near a formant (within one F0 of it).
struct HarmonicLevel {
    double formantHz = 0;
    double harmonicHz = 0;
    double db = 0;
};

// The sound's spectral levels at one harmonic of the steady middle, with what the filter
// and the source give there.
struct Harmonic {
    double hz = 0;
    double soundDb = 0, filterDb = 0, sourceDb = 0;
};

// A spectrogram: columns of levels in dB from 0 Hz upward, rowHz apart; column c is
// centred at (c + 0.5) x columnSeconds after the start.
struct Spectrogram {
    double columnSeconds = 0;
    double rowHz = 0;
    std::vector<std::vector<float>> columns;
};

// F1 to F3 of one frame of the track from startS to endS seconds.
struct FormantStep {
    double startS = 0, endS = 0;
    std::array<int, 3> hz{};
};

// Everything the spectrum shows. Levels in dB of the written sound's full scale: a sinusoid
// that fills the 16-bit range reads 0 dB. The source is the voicing as it enters the filter,
// with the gains the sound gets after it, so that sound = source + filter at every
// frequency; the filter reads 0 dB at 0 Hz.
struct VowelSpectrum {
    Report report;
    bool synthesized = false; // false: a recording, with the sound's spectrum only
    bool diphthong = false;
    double binHz = 0;                                // spacing of the curves' points from 0 Hz
    std::vector<double> soundDb, filterDb, sourceDb; // filterDb, sourceDb empty for a recording
    std::vector<Harmonic> harmonics;                 // of the steady middle
    double f0Hz = 0;                                 // 0 when no pitch was found
    std::array<int, 3> formants{};                   // of the frame the filter is drawn for
    std::array<HarmonicLevel, 3> levels{};           // A1, A2, A3
    double durationS = 0, middleStartS = 0, middleEndS = 0;
    Spectrogram spectrogram;               // of the whole sound, for a diphthong
    std::vector<FormantStep> formantPaths; // the five frames, for a diphthong
};

// Renders the vowel as the chart plays it and measures it. The steady middle is the three
// middle frames of a steady vowel and the middle frame of a diphthong; the filter is the
// middle frame's. Renders with an engine of its own, as a new process would, so that the
// chart's engine and its next sound are untouched. A failed report says why.
VowelSpectrum AnalyseVowel(const VowelRequest& request);

// The spectrum of a recording (samples at rate per second) over its middle three fifths,
// with the formants the analyser reads over its voiced stretch (none when it has none).
VowelSpectrum AnalyseRecording(const std::vector<double>& samples, int rate);

// The curves as CSV: a header line, then one line per point from 0 to 5000 Hz. Columns
// frequency_hz, sound_db, filter_db, source_db (the last two empty for a recording).
std::string SpectrumCsv(const VowelSpectrum& spectrum);
