#include "experiment/TestResults.h"
#include "experiment/Responses.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <sstream>

const char* const kPooledParticipant = "all";

namespace {

std::string Number(double value, const char* format = "%.6g") {
    if (!std::isfinite(value))
        return "";
    char text[40];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

template <typename T> void AddOnce(std::vector<T>& list, const T& item) {
    if (std::find(list.begin(), list.end(), item) == list.end())
        list.push_back(item);
}

// Linear between the formants of the steps on either side of x; 0 beyond them or unknown.
double OnContinuum(const std::map<int, double>& hz, double x) {
    if (hz.empty() || x < hz.begin()->first || x > hz.rbegin()->first)
        return 0;
    auto above = hz.lower_bound(static_cast<int>(std::ceil(x)));
    if (above == hz.end())
        return 0;
    if (above->first == x || above == hz.begin())
        return above->second;
    auto below = std::prev(above);
    if (below->second <= 0 || above->second <= 0)
        return 0;
    const double t = (x - below->first) / (above->first - below->first);
    return below->second + t * (above->second - below->second);
}

// (zH - zF) with rates of 0 or 1 moved 1/(2N) from the edge.
double Rate(double p, int n) {
    const double edge = 0.5 / std::max(n, 1);
    return std::clamp(p, edge, 1 - edge);
}

} // namespace

std::vector<LabelCurve> IdentificationCurves(const std::vector<Response>& responses) {
    std::vector<std::string> participants, labels;
    std::vector<int> steps;
    std::map<int, double> f1, f2;
    for (const Response& r : responses) {
        if (r.task != "identification" || r.block != "test")
            continue;
        AddOnce(participants, r.participant);
        AddOnce(labels, r.response);
        const int step = std::atoi(r.step.c_str());
        AddOnce(steps, step);
        if (!r.f1Hz.empty())
            f1.emplace(step, std::atof(r.f1Hz.c_str()));
        if (!r.f2Hz.empty())
            f2.emplace(step, std::atof(r.f2Hz.c_str()));
    }
    std::sort(steps.begin(), steps.end());
    std::vector<std::string> groups = participants;
    if (!participants.empty())
        groups.push_back(kPooledParticipant);
    std::vector<LabelCurve> curves;
    for (const std::string& group : groups) {
        for (const std::string& label : labels) {
            LabelCurve curve;
            curve.participant = group;
            curve.label = label;
            for (int step : steps) {
                StepCount count{static_cast<double>(step), 0, 0};
                for (const Response& r : responses) {
                    if (r.task != "identification" || r.block != "test" ||
                        std::atoi(r.step.c_str()) != step ||
                        (group != kPooledParticipant && r.participant != group))
                        continue;
                    ++count.trials;
                    count.chosen += r.response == label;
                }
                if (count.trials)
                    curve.counts.push_back(count);
            }
            curve.fit = FitLogistic(curve.counts);
            if (curve.fit.hasBoundary) {
                curve.boundaryF1 = OnContinuum(f1, curve.fit.boundary);
                curve.boundaryF2 = OnContinuum(f2, curve.fit.boundary);
            }
            curves.push_back(curve);
        }
    }
    return curves;
}

std::string IdentificationCsv(const std::vector<LabelCurve>& curves) {
    std::string out = "participant,label,boundary_step,boundary_hz_f1,boundary_hz_f2,slope,"
                      "ci_low,ci_high,n\n";
    for (const LabelCurve& c : curves) {
        const LogisticFit& f = c.fit;
        out += CsvField(c.participant) + "," + CsvField(c.label) + "," +
               (f.hasBoundary ? Number(f.boundary) : "") + "," +
               (c.boundaryF1 > 0 ? Number(c.boundaryF1, "%.1f") : "") + "," +
               (c.boundaryF2 > 0 ? Number(c.boundaryF2, "%.1f") : "") + "," +
               (f.slopeEstimable ? Number(f.slope) : "") + "," +
               (f.hasInterval ? Number(f.low) : "") + "," + (f.hasInterval ? Number(f.high) : "") +
               "," + std::to_string(f.trials) + "\n";
    }
    return out;
}

double AxDPrime(double hits, int differentTrials, double falseAlarms, int sameTrials) {
    const double zh = NormalQuantile(Rate(hits, differentTrials));
    const double zf = NormalQuantile(Rate(falseAlarms, sameTrials));
    // The proportion correct of an unbiased listener, then the model's d' for it.
    const double best = NormalCdf((zh - zf) / 2);
    const double above = std::abs(2 * best - 1);
    const double d = 2 * NormalQuantile(0.5 * (1 + std::sqrt(above)));
    return best >= 0.5 ? d : -d;
}

double AbxDPrime(double proportionCorrect, int trials) {
    const double pc = Rate(proportionCorrect, trials);
    auto correct = [](double d) {
        return NormalCdf(d / std::sqrt(2.0)) * NormalCdf(d / 2) +
               NormalCdf(-d / std::sqrt(2.0)) * NormalCdf(-d / 2);
    };
    const double target = std::max(pc, 1 - pc);
    double low = 0, high = 20;
    for (int i = 0; i < 200; ++i) {
        const double mid = 0.5 * (low + high);
        (correct(mid) < target ? low : high) = mid;
    }
    const double d = 0.5 * (low + high);
    return pc >= 0.5 ? d : -d;
}

std::vector<PairDiscrimination> PairDiscriminations(const std::vector<Response>& responses) {
    std::vector<std::string> participants;
    struct Key {
        std::string task;
        int lower, upper;
        bool operator==(const Key&) const = default;
    };
    std::vector<Key> keys;
    auto stepsOf = [](const Response& r, std::vector<int>& steps) {
        steps.clear();
        std::istringstream in(r.step);
        std::string item;
        while (std::getline(in, item, ';'))
            steps.push_back(std::atoi(item.c_str()));
        return steps.size() >= 2;
    };
    std::vector<int> steps;
    for (const Response& r : responses) {
        if (r.task == "identification" || r.block != "test" || !stepsOf(r, steps))
            continue;
        AddOnce(participants, r.participant);
    }
    // The pairs: from the different trials; same trials count for the pairs holding their step.
    for (const Response& r : responses) {
        if (r.task == "identification" || r.block != "test" || !stepsOf(r, steps))
            continue;
        const int lo = *std::min_element(steps.begin(), steps.end());
        const int hi = *std::max_element(steps.begin(), steps.end());
        if (lo != hi)
            AddOnce(keys, Key{r.task, lo, hi});
    }
    std::sort(keys.begin(), keys.end(), [](const Key& a, const Key& b) {
        return std::tie(a.task, a.upper, a.lower) < std::tie(b.task, b.upper, b.lower);
    });
    std::vector<std::string> groups = participants;
    if (!participants.empty())
        groups.push_back(kPooledParticipant);
    std::vector<PairDiscrimination> pairs;
    for (const std::string& group : groups) {
        for (const Key& key : keys) {
            PairDiscrimination pair;
            pair.participant = group;
            pair.task = key.task;
            pair.lower = key.lower;
            pair.upper = key.upper;
            int different = 0, sameDifferent = 0, correct = 0;
            for (const Response& r : responses) {
                if (r.task != key.task || r.block != "test" || !stepsOf(r, steps) ||
                    (group != kPooledParticipant && r.participant != group))
                    continue;
                const int lo = *std::min_element(steps.begin(), steps.end());
                const int hi = *std::max_element(steps.begin(), steps.end());
                if (lo == key.lower && hi == key.upper) {
                    ++pair.differentTrials;
                    different += r.response == "different";
                    correct += r.correct == 1;
                } else if (lo == hi && key.task == "AX" && (lo == key.lower || lo == key.upper)) {
                    // The false alarms of a pair: the same pairs of either of its steps.
                    ++pair.sameTrials;
                    sameDifferent += r.response == "different";
                }
            }
            if (pair.differentTrials == 0)
                continue;
            if (key.task == "AX") {
                pair.proportionDifferent = double(different) / pair.differentTrials;
                pair.falseAlarms = pair.sameTrials ? double(sameDifferent) / pair.sameTrials : 0;
                pair.dPrime = pair.sameTrials
                                  ? AxDPrime(pair.proportionDifferent, pair.differentTrials,
                                             pair.falseAlarms, pair.sameTrials)
                                  : NAN;
            } else {
                pair.proportionDifferent = double(correct) / pair.differentTrials;
                pair.dPrime = AbxDPrime(pair.proportionDifferent, pair.differentTrials);
            }
            pairs.push_back(pair);
        }
    }
    return pairs;
}

std::string DiscriminationCsv(const std::vector<PairDiscrimination>& pairs) {
    std::string out = "participant,task,step_a,step_b,n_different,p_different,n_same,"
                      "p_same_called_different,d_prime\n";
    for (const PairDiscrimination& p : pairs) {
        out += CsvField(p.participant) + "," + p.task + "," + std::to_string(p.lower) + "," +
               std::to_string(p.upper) + "," + std::to_string(p.differentTrials) + "," +
               Number(p.proportionDifferent, "%.4f") + "," +
               (p.task == "AX" ? std::to_string(p.sameTrials) : "") + "," +
               (p.task == "AX" && p.sameTrials ? Number(p.falseAlarms, "%.4f") : "") + "," +
               Number(p.dPrime, "%.4f") + "\n";
    }
    return out;
}
