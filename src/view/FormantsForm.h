// The form of Tools > Go to Formants: F1 and F2 to put the point at, and F3 or "auto".
#pragma once

#include "chart/ChartGeometry.h"
#include "view/InputPrompt.h"

#include <optional>

// The formants typed: F1 and F2 in Hz, and F3 in Hz or nothing for the automatic F3.
struct TypedFormants {
    int f1 = 0;
    int f2 = 0;
    std::optional<int> f3;
};

// F3 can be typed within the F3 slider's range.
constexpr int kLowestTypedF3 = 1300;
constexpr int kHighestTypedF3 = 3400;

// The fields "F1 (Hz)", "F2 (Hz)" and "F3 (Hz, or auto)", showing the given values (F1 and
// F2 left empty when 0).
InputForm GoToFormantsForm(int f1, int f2, int f3, bool autoF3);

// Reads the form: "" and the values, or why not: F1 or F2 is not a number within the
// range the chart shows (named), or F3 is neither "auto" nor a number within the slider's
// range. Numbers are rounded to whole Hz.
std::string ReadGoToFormants(const InputForm& form, const FrequencyRange& f1Range,
                             const FrequencyRange& f2Range, TypedFormants& typed);
