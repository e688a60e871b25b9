#include "view/SoundFormatFields.h"

#include "base/Settings.h"
#include "stimuli/VowelStimulus.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <iterator>

namespace {

constexpr std::array<SampleFormat, 3> kSampleFormats = {SampleFormat::Pcm16, SampleFormat::Pcm24,
                                                        SampleFormat::Float32};

std::string RateText(int rate) {
    return std::to_string(rate) + (rate == kRenderedRate ? " Hz (as rendered)" : " Hz");
}

std::string SampleFormatText(SampleFormat format) {
    switch (format) {
    case SampleFormat::Pcm16:
        return "16-bit PCM";
    case SampleFormat::Pcm24:
        return "24-bit PCM";
    case SampleFormat::Float32:
        break;
    }
    return "32-bit float";
}

template <class List, class Value> int IndexOf(const List& list, const Value& value) {
    const auto it = std::find(list.begin(), list.end(), value);
    return it == list.end() ? 0 : static_cast<int>(std::distance(list.begin(), it));
}

template <class List> auto Chosen(const List& list, const FormField& field) {
    const auto index = static_cast<size_t>(std::clamp<int>(field.chosen, 0, int(list.size()) - 1));
    return list[index];
}

} // namespace

constexpr std::array<LevelRule, 3> kLevelRules = {LevelRule::Natural, LevelRule::Peak,
                                                  LevelRule::Rms};

std::string RmsText(double db) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", db);
    return text;
}

void AddSoundFormatFields(InputForm& form, const SoundFormat& format, const SoundLevel& level,
                          SoundFileType type) {
    std::vector<std::string> rates;
    for (int each : kExportRates)
        rates.push_back(RateText(each));
    // The formats a file of the type takes come first in kSampleFormats, so the indices of
    // the shorter list are those of the whole one.
    std::vector<std::string> sampleFormats;
    for (SampleFormat each : kSampleFormats)
        if (CheckSoundFormat({kRenderedRate, each}, type).empty())
            sampleFormats.push_back(SampleFormatText(each));
    const int chosen = std::min(IndexOf(kSampleFormats, format.sampleFormat),
                                static_cast<int>(sampleFormats.size()) - 1);
    form.fields.push_back(
        ChoiceField("Sample rate", rates, IndexOf(kExportRates, format.sampleRate)));
    form.fields.push_back(ChoiceField("Sample format", sampleFormats, chosen));
    form.fields.push_back(
        ChoiceField("Level", {"Natural (the vowels' own)", "Peak at full scale", "RMS as below"},
                    IndexOf(kLevelRules, level.rule)));
    form.fields.push_back(TextField("RMS (dB, -80 to 0)", RmsText(level.rmsDb)));
}

std::string SoundLevelOfFields(const InputForm& form, size_t first, SoundLevel& level) {
    const LevelRule rule = Chosen(kLevelRules, form.fields.at(first + 2));
    double db = level.rmsDb;
    const bool read = ReadFormNumber(form.fields.at(first + 3).text, db);
    if (rule == LevelRule::Rms && (!read || db < kLowestRmsDb || db > kHighestRmsDb))
        return "The RMS must be a number from -80 to 0 dB.";
    level.rule = rule;
    if (read && db >= kLowestRmsDb && db <= kHighestRmsDb)
        level.rmsDb = db;
    return "";
}

SoundFormat SoundFormatOfFields(const InputForm& form, size_t first) {
    return {Chosen(kExportRates, form.fields.at(first)),
            Chosen(kSampleFormats, form.fields.at(first + 1))};
}

SoundFormat StoredSoundFormat() {
    SoundFormat format;
    const int rate = ReadSetting(settings::kStimulusRate);
    if (std::find(kExportRates.begin(), kExportRates.end(), rate) != kExportRates.end())
        format.sampleRate = rate;
    SampleFormat sampleFormat = SampleFormat::Pcm16;
    if (ParseSampleFormat(ReadSetting(settings::kStimulusFormat), sampleFormat))
        format.sampleFormat = sampleFormat;
    return format;
}

void StoreSoundFormat(const SoundFormat& format) {
    WriteSetting(settings::kStimulusRate, format.sampleRate);
    WriteSetting(settings::kStimulusFormat, SampleFormatName(format.sampleFormat));
}

SoundLevel StoredSoundLevel() {
    SoundLevel level;
    if (!ParseSoundLevel(ReadSetting(settings::kStimulusLevel), level).empty())
        level = SoundLevel{};
    return level;
}

void StoreSoundLevel(const SoundLevel& level) {
    WriteSetting(settings::kStimulusLevel, SoundLevelName(level));
}
