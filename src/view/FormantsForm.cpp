#include "view/FormantsForm.h"

#include <algorithm>
#include <cctype>
#include <cmath>

namespace {

enum Field { kF1, kF2, kF3 };

std::string Lowered(std::string text) {
    text.erase(std::remove_if(text.begin(), text.end(),
                              [](unsigned char c) { return c == ' ' || c == '\t'; }),
               text.end());
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// The number in the text, rounded to whole Hz, when it lies within lowest..highest.
bool ReadHz(const std::string& text, int lowest, int highest, int& hz) {
    double value = 0;
    if (!ReadFormNumber(text, value))
        return false;
    const double rounded = std::round(value);
    if (rounded < lowest || rounded > highest)
        return false;
    hz = static_cast<int>(rounded);
    return true;
}

std::string RangeText(const FrequencyRange& range) {
    return std::to_string(range.lowest) + " to " + std::to_string(range.highest) + " Hz";
}

} // namespace

InputForm GoToFormantsForm(int f1, int f2, int f3, bool autoF3) {
    InputForm form;
    form.title = "Go to Formants";
    form.fields = {TextField("F1 (Hz)", f1 > 0 ? std::to_string(f1) : ""),
                   TextField("F2 (Hz)", f2 > 0 ? std::to_string(f2) : ""),
                   TextField("F3 (Hz, or auto)", autoF3 ? "auto" : std::to_string(f3))};
    return form;
}

std::string ReadGoToFormants(const InputForm& form, const FrequencyRange& f1Range,
                             const FrequencyRange& f2Range, TypedFormants& typed) {
    TypedFormants read;
    if (!ReadHz(form.fields.at(kF1).text, f1Range.lowest, f1Range.highest, read.f1))
        return "F1 must be a number from " + RangeText(f1Range) + ", the range the chart shows.";
    if (!ReadHz(form.fields.at(kF2).text, f2Range.lowest, f2Range.highest, read.f2))
        return "F2 must be a number from " + RangeText(f2Range) + ", the range the chart shows.";
    const std::string& f3 = form.fields.at(kF3).text;
    if (Lowered(f3) != "auto") {
        int hz = 0;
        if (!ReadHz(f3, kLowestTypedF3, kHighestTypedF3, hz))
            return "F3 must be \"auto\" or a number from " +
                   RangeText({kLowestTypedF3, kHighestTypedF3}) + ", the F3 slider's range.";
        read.f3 = hz;
    }
    typed = read;
    return "";
}
