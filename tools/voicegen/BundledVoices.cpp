#include "BundledVoices.h"

const PresetTable kMalePresetFormants = {{
    {250, 2100, 3100}, {350, 2000, 2700}, {650, 1700, 2700}, {850, 1500, 2700}, {700, 1000, 2700},
    {550, 900, 2700},  {400, 700, 2700},  {250, 600, 2700},  {250, 1850, 2300}, {350, 1550, 2300},
    {550, 1420, 2300}, {720, 1350, 2300}, {610, 1100, 2700}, {520, 920, 2700},  {360, 1050, 2700},
    {260, 1100, 2700}, {720, 1700, 2700}, {350, 1900, 2700}, {350, 900, 2700},  {350, 1500, 2700},
    {500, 1250, 2700}, {650, 1100, 2700}, {270, 1700, 2700}, {270, 1450, 2700}, {450, 1270, 2700},
    {350, 1300, 2700}, {700, 1150, 2700}, {660, 1320, 2700},
}};

const PresetTable kFemalePresetFormants = {{
    {260, 2600, 3000}, {380, 2550, 3000},  {800, 2150, 3000}, {1100, 1600, 3000}, {790, 1100, 3000},
    {650, 990, 3000},  {450, 790, 3000},   {350, 700, 3000},  {350, 2100, 3000},  {350, 1800, 3000},
    {590, 1600, 3000}, {750, 1500, 3000},  {600, 1000, 3000}, {550, 1150, 3000},  {370, 1250, 3000},
    {280, 1450, 3000}, {1100, 1750, 3000}, {350, 2600, 3000}, {380, 820, 3000},   {400, 1950, 3000},
    {540, 1520, 3000}, {830, 1310, 3000},  {370, 2000, 3000}, {370, 1790, 3000},  {350, 1650, 3000},
    {400, 1700, 3000}, {700, 1250, 3000},  {650, 1400, 3000},
}};

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
        {"01-male.dat", MaleProfile(), &kMalePresetFormants, 0},
        {"02-female.dat", FemaleProfile(), &kFemalePresetFormants, 6},
        {"03-child.dat", ChildProfile(), &kFemalePresetFormants, 6},
    }};
    return voices;
}
