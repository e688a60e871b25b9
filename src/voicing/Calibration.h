// Sets the loudness of a voice by playing the preset vowels through the synthesizer.
#pragma once

#include "base/Report.h"
#include "synth/SynthEngine.h"
#include "voicing/BundledVoices.h"

#include <cstdint>
#include <string>
#include <vector>

// The loudest of a table's preset vowels: its peak magnitude before the run's 16-bit
// scaling and its slot in the table.
struct PresetPeak {
    int peak = 0;
    int slot = -1;
};

// Renders every vowel of `presets` with `engine` as the chart plays it (steady vowel, 100 ms
// frames, the preset F3, the given tilt) voiced by `voiceFile`, read afresh; the engine's
// store is released afterwards. The report holds what the renderings noted; it fails as the
// first rendering that fails.
Report FindLoudestPreset(SynthEngine& engine, const std::string& voiceFile,
                         const PresetTable& presets, int tiltDb, PresetPeak& loudest);

// A voice with its samples in their final, calibrated size.
struct CalibratedVoice {
    std::vector<int32_t> samples;
    double gain = 0; // sample units per unit of glottal excitation
    PresetPeak loudest;
};

// Scales the voicing so that the loudest preset vowel peaks near kCalibratedPeak: renders
// the presets with a trial copy written to `workDir`, scales, and checks the final samples
// the same way, all with `engine` (the renderings carry over into each other). Shows nothing: the
// report fails with the message when the voice is silent or cannot be brought into 24000..32767, or
// with what the writing or the rendering reported.
Report CalibrateVoice(SynthEngine& engine, const BundledVoice& voice,
                      const std::vector<double>& voicing, const std::string& workDir,
                      CalibratedVoice& result);
