// The three voices shipped with the program and the vowels their loudness is set on.
#pragma once

#include "voicing/VoicingGenerator.h"

#include <array>
#include <string>

// F1, F2, F3 in Hz of one preset vowel.
struct PresetFormants {
    int f1;
    int f2;
    int f3;
};

// The 28 preset vowels of one gender (primary, secondary, further, schwa; the schwa page's
// last four slots are placeholders, not vowels, and are left out).
using PresetTable = std::array<PresetFormants, 28>;

// The preset vowels of gender (0 female, 1 male), taken from the vowel inventory.
PresetTable PresetFormantsOf(int gender);

// A voice file of the program: its voicing and how the program plays it. Its loudness is
// set so that the loudest preset vowel, played as the chart plays it, peaks near
// kCalibratedPeak before the run's 16-bit scaling.
struct BundledVoice {
    std::string fileName;
    VoiceProfile profile;
    int presetGender; // whose preset vowels set the loudness: 0 female, 1 male
    int tiltDb;
};

constexpr int kCalibratedPeak = 28000;
constexpr int kVoiceFileSamples = 120000; // 12 s: every frame length up to 2000 ms is voiced

const std::array<BundledVoice, 3>& BundledVoices();
