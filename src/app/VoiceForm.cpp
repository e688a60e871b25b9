#include "app/VoiceForm.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <optional>

namespace {

constexpr const char* kExtension = ".dat";

bool EndsWithExtension(const std::string& name) {
    if (name.size() < 4)
        return false;
    std::string tail = name.substr(name.size() - 4);
    std::transform(tail.begin(), tail.end(), tail.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return tail == kExtension;
}

// The typed name without blanks around it and without ".dat".
std::string BareName(const std::string& text) {
    const size_t begin = text.find_first_not_of(" \t");
    if (begin == std::string::npos)
        return "";
    std::string name = text.substr(begin, text.find_last_not_of(" \t") - begin + 1);
    if (EndsWithExtension(name))
        name.resize(name.size() - 4);
    return name;
}

bool HoldsControlCharacter(const std::string& name) {
    return std::any_of(name.begin(), name.end(),
                       [](unsigned char c) { return c < 0x20 || c == 0x7f; });
}

// An optional number: empty gives nothing.
bool ReadOptional(const std::string& text, std::optional<double>& value) {
    if (IsBlankText(text))
        return true;
    double number = 0;
    if (!ReadFormNumber(text, number))
        return false;
    value = number;
    return true;
}

} // namespace

InputForm NewVoiceForm() {
    InputForm form;
    form.title = "New Voice";
    for (const char* label :
         {"Name", "F0 (Hz, 50 - 500)", "End F0 (Hz; empty: level)",
          "Jitter (%; empty: as the bundled voices)", "Shimmer (%; empty: as the bundled voices)",
          "Breath (%; empty: as the bundled voices)", "Seed"})
        form.fields.push_back(TextField(label, ""));
    form.fields[kVoiceSeed].text = "1";
    return form;
}

std::string ReadNewVoiceForm(const InputForm& form, std::string& fileName, VoiceRequest& request) {
    const std::string name = BareName(form.fields.at(kVoiceName).text);
    if (name.empty())
        return "Give the voice a name: it is saved as <name>.dat in the voice folder.";
    if (name == "." || name == ".." || name.find('/') != std::string::npos ||
        HoldsControlCharacter(name))
        return "The name of a voice names its file: it cannot be \".\" or \"..\", or hold \"/\" "
               "or control characters.";
    VoiceRequest read;
    if (!ReadFormNumber(form.fields.at(kVoiceF0).text, read.f0))
        return "The F0 must be a number from 50 to 500 Hz.";
    if (!ReadOptional(form.fields.at(kVoiceF0End).text, read.f0End))
        return "The end F0 must be a number from 50 to 500 Hz, or empty for a level pitch.";
    if (!ReadOptional(form.fields.at(kVoiceJitter).text, read.jitterPercent))
        return "The jitter must be a number from 0 to 5 %, or empty for the bundled voices' "
               "value.";
    if (!ReadOptional(form.fields.at(kVoiceShimmer).text, read.shimmerPercent))
        return "The shimmer must be a number from 0 to 20 %, or empty for the bundled voices' "
               "value.";
    if (!ReadOptional(form.fields.at(kVoiceBreath).text, read.breathPercent))
        return "The breath noise must be a number from 0 to 10 %, or empty for the bundled "
               "voices' value.";
    unsigned long long seed = 0;
    if (!ReadFormWholeNumber(form.fields.at(kVoiceSeed).text, seed) || seed > UINT32_MAX)
        return "The seed must be a whole number from 0 to 4294967295.";
    read.seed = static_cast<uint32_t>(seed);
    if (std::string problem = CheckVoiceRequest(read); !problem.empty())
        return problem;
    fileName = name + kExtension;
    request = read;
    return "";
}
