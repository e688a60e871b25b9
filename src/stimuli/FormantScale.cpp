#include "stimuli/FormantScale.h"

#include <cmath>

std::vector<int> EqualSteps(int from, int to, int count, FormantScale scale) {
    std::vector<int> steps;
    if (count < 2)
        return {from};
    const double start = ToScale(scale, from);
    const double end = ToScale(scale, to);
    for (int i = 0; i < count; ++i) {
        const double value = start + (end - start) * i / (count - 1);
        steps.push_back(static_cast<int>(std::lround(FromScale(scale, value))));
    }
    steps.front() = from;
    steps.back() = to;
    return steps;
}

std::vector<Formants> ContinuumFormants(const Formants& from, const Formants& to, int count,
                                        FormantScale scale) {
    const std::vector<int> f1 = EqualSteps(from.f1, to.f1, count, scale);
    const std::vector<int> f2 = EqualSteps(from.f2, to.f2, count, scale);
    const bool givenF3 = from.f3 > 0 && to.f3 > 0;
    const std::vector<int> f3 = givenF3 ? EqualSteps(from.f3, to.f3, count, scale) : f1;
    std::vector<Formants> vowels;
    for (size_t i = 0; i < f1.size(); ++i)
        vowels.push_back({f1[i], f2[i], givenF3 ? f3[i] : AutomaticF3(f1[i], f2[i])});
    return vowels;
}
