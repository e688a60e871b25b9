#include "voicing/BundledVoices.h"

#include "doc/VowelInventory.h"

PresetTable PresetFormantsOf(int gender) {
    PresetTable table{};
    size_t count = 0;
    for (int type = 0; type < kTypeCount; ++type) {
        for (const VowelEntry* entry = kPresetVowels[gender][type]; entry->symbol; ++entry) {
            if (entry->symbol[0] != ' ' && count < table.size())
                table[count++] = {entry->f1, entry->f2, entry->f3};
        }
    }
    return table;
}

namespace {

// The sizes of the perturbations and the brightness are set by measuring the rendered
// preset vowels: the level of F3 against F1 near published averages of real voices, and the
// open vowel /a/ neither rough nor noisy, although the narrow F1 bandwidths of the
// synthesizer let each period ring into the next and so magnify the jitter.

VoiceProfile MaleProfile() {
    VoiceProfile voice;
    voice.name = "male";
    voice.f0 = 115;
    voice.jitter = 0.0036;
    voice.shimmer = 0.015;
    voice.breath = 0.001;
    voice.seed = 115;
    voice.shapeRd = 1.0;
    voice.brightnessDb = 30;
    voice.driftDepth = 0.03;
    voice.driftSeconds = 4.3;
    return voice;
}

VoiceProfile FemaleProfile() {
    VoiceProfile voice;
    voice.name = "female";
    // Near 216 Hz the preset /a/'s F1 (1100 Hz) lies close to the fifth harmonic. At 210 Hz
    // it falls between two, where each period's jitter shifts the ringing of F1 against the
    // next pulse most, and the vowel's shimmer comes out half as large again.
    voice.f0 = 216;
    voice.jitter = 0.0038;
    voice.shimmer = 0.015;
    voice.breath = 0.0015;
    voice.seed = 210;
    voice.shapeRd = 1.3;
    voice.brightnessDb = 7;
    voice.driftDepth = 0.035;
    voice.driftSeconds = 3.7;
    return voice;
}

VoiceProfile ChildProfile() {
    VoiceProfile voice;
    voice.name = "child";
    voice.f0 = 300;
    voice.jitter = 0.004;
    voice.shimmer = 0.015;
    voice.breath = 0.0015;
    voice.seed = 300;
    voice.shapeRd = 1.4;
    voice.brightnessDb = 7; // played with the female presets and tilt, voiced as brightly
    voice.driftDepth = 0.04;
    voice.driftSeconds = 3.1;
    return voice;
}

} // namespace

const std::array<BundledVoice, 3>& BundledVoices() {
    // The voices menu lists the files in name order, so the male voice comes first.
    static const std::array<BundledVoice, 3> voices = {{
        {"01-male.dat", MaleProfile(), 1, 0},
        {"02-female.dat", FemaleProfile(), 0, 6},
        {"03-child.dat", ChildProfile(), 0, 6},
    }};
    return voices;
}
