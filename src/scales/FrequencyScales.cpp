#include "scales/FrequencyScales.h"

#include <climits>
#include <cmath>

double HzToBark(double hz) {
    const long double f = hz;
    return static_cast<double>(26.81L * f / (1960.0L + f) - 0.53L);
}

int BarkToHz(float bark) {
    const double hz = (1960.0 * bark + 1038.8) / (26.28 - bark);
    if (!(hz > INT_MIN) || !(hz < INT_MAX)) // also NaN
        return hz > 0 ? INT_MAX : INT_MIN;
    return static_cast<int>(hz);
}

bool ParseFormantScale(const std::string& name, FormantScale& scale) {
    for (FormantScale candidate : {FormantScale::Hz, FormantScale::Bark, FormantScale::Erb}) {
        if (name == FormantScaleName(candidate)) {
            scale = candidate;
            return true;
        }
    }
    return false;
}

std::string FormantScaleName(FormantScale scale) {
    switch (scale) {
    case FormantScale::Hz:
        return "hz";
    case FormantScale::Bark:
        return "bark";
    case FormantScale::Erb:
        break;
    }
    return "erb";
}

double ToScale(FormantScale scale, double hz) {
    switch (scale) {
    case FormantScale::Hz:
        return hz;
    case FormantScale::Bark:
        return HzToBark(hz);
    case FormantScale::Erb:
        break;
    }
    return 21.4 * std::log10(1 + 0.00437 * hz);
}

double FromScale(FormantScale scale, double value) {
    switch (scale) {
    case FormantScale::Hz:
        return value;
    case FormantScale::Bark:
        return 1960 * (value + 0.53) / (26.28 - value);
    case FormantScale::Erb:
        break;
    }
    return (std::pow(10.0, value / 21.4) - 1) / 0.00437;
}

int AutomaticF3(int f1, int f2) {
    const double x = f1;
    const double y = f2;
    const double f3 = 0.00007245 * x * x - 0.4877 * y + 0.0002191 * y * y + 2530;
    const double bounded = std::fmin(std::fmax(f3, -9e18), 9e18);
    const long long whole = static_cast<long long>(bounded);
    if (whole > INT_MAX)
        return INT_MAX;
    if (whole < INT_MIN)
        return INT_MIN;
    return static_cast<int>(whole);
}
