#include "BundledVoices.h"

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

VoiceProfile MaleProfile() {
    VoiceProfile voice;
    voice.name = "male";
    voice.meanF0 = 115;
    voice.shapeRd = 1.0;
    voice.jitter = 0.007;
    voice.shimmer = 0.03;
    voice.driftDepth = 0.03;
    voice.driftSeconds = 4.3;
    voice.seed = 115;
    return voice;
}

VoiceProfile FemaleProfile() {
    VoiceProfile voice;
    voice.name = "female";
    voice.meanF0 = 210;
    voice.shapeRd = 1.3;
    voice.jitter = 0.0075;
    voice.shimmer = 0.03;
    voice.driftDepth = 0.035;
    voice.driftSeconds = 3.7;
    voice.seed = 210;
    return voice;
}

VoiceProfile ChildProfile() {
    VoiceProfile voice;
    voice.name = "child";
    voice.meanF0 = 300;
    voice.shapeRd = 1.4;
    voice.jitter = 0.008;
    voice.shimmer = 0.032;
    voice.driftDepth = 0.04;
    voice.driftSeconds = 3.1;
    voice.seed = 300;
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
