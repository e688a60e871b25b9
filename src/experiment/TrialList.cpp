#include "experiment/TrialList.h"

#include <algorithm>
#include <random>

const char* const kSameResponse = "same";
const char* const kDifferentResponse = "different";

namespace {

// The items one round plays: each a list of sounds and the right answer.
std::vector<Trial> RoundItems(const Experiment& experiment) {
    std::vector<Trial> items;
    const int count = static_cast<int>(experiment.stimuli.size());
    if (experiment.task == TestTask::Identification) {
        for (int i = 0; i < count; ++i)
            items.push_back({TrialBlock::Test, 0, {i}, ""});
        return items;
    }
    for (int distance : experiment.pairDistances) {
        for (int a = 0; a + 1 < count; ++a) {
            // Pairs are made by step, so a continuum with a missing step keeps its distances.
            int b = a + 1;
            while (b < count && experiment.stimuli[b].step - experiment.stimuli[a].step < distance)
                ++b;
            if (b >= count || experiment.stimuli[b].step - experiment.stimuli[a].step != distance)
                continue;
            if (experiment.kind == DiscriminationKind::AX) {
                items.push_back({TrialBlock::Test, 0, {a, b}, kDifferentResponse});
                items.push_back({TrialBlock::Test, 0, {b, a}, kDifferentResponse});
                items.push_back({TrialBlock::Test, 0, {a, a}, kSameResponse});
                items.push_back({TrialBlock::Test, 0, {b, b}, kSameResponse});
            } else {
                items.push_back({TrialBlock::Test, 0, {a, b, a}, "A"});
                items.push_back({TrialBlock::Test, 0, {a, b, b}, "B"});
                items.push_back({TrialBlock::Test, 0, {b, a, b}, "A"});
                items.push_back({TrialBlock::Test, 0, {b, a, a}, "B"});
            }
        }
    }
    return items;
}

// A random order of 0..n-1 whose first is not `avoid`.
std::vector<int> RoundOrder(int n, int avoid, std::mt19937_64& random) {
    std::vector<int> order(n);
    for (int i = 0; i < n; ++i)
        order[i] = i;
    // A uniform shuffle (Fisher-Yates with the generator's own bits, not a distribution
    // whose draws differ between standard libraries).
    for (int i = n - 1; i > 0; --i)
        std::swap(order[i], order[random() % static_cast<uint64_t>(i + 1)]);
    if (n > 1 && order[0] == avoid)
        std::swap(order[0], order[1 + random() % static_cast<uint64_t>(n - 1)]);
    return order;
}

} // namespace

std::vector<Trial> MakeTrials(const Experiment& experiment) {
    std::mt19937_64 random(OrderSeed(experiment));
    std::vector<Trial> trials;
    if (!experiment.stimuli.empty()) {
        const int last = static_cast<int>(experiment.stimuli.size()) - 1;
        for (int i = 0; i < 2 * experiment.practiceRepetitions; ++i) {
            Trial trial{TrialBlock::Practice, i + 1, {}, ""};
            const int a = i % 2 == 0 ? 0 : last, b = i % 2 == 0 ? last : 0;
            if (experiment.task == TestTask::Identification)
                trial.sounds = {a};
            else if (experiment.kind == DiscriminationKind::AX)
                trial.sounds = {a, b}, trial.expected = kDifferentResponse;
            else
                trial.sounds = {a, b, a}, trial.expected = "A";
            trials.push_back(trial);
        }
    }
    const std::vector<Trial> items = RoundItems(experiment);
    const int n = static_cast<int>(items.size());
    std::vector<int> sequence;
    if (experiment.order == TrialOrder::Random) {
        for (int r = 0; r < experiment.repetitions; ++r)
            for (int i = 0; i < n; ++i)
                sequence.push_back(i);
        for (int i = static_cast<int>(sequence.size()) - 1; i > 0; --i)
            std::swap(sequence[i], sequence[random() % static_cast<uint64_t>(i + 1)]);
    } else {
        int previous = -1;
        for (int r = 0; r < experiment.repetitions; ++r) {
            std::vector<int> round(n);
            if (experiment.order == TrialOrder::Cyclic) {
                for (int i = 0; i < n; ++i)
                    round[i] = i;
            } else {
                round = RoundOrder(n, previous, random);
            }
            sequence.insert(sequence.end(), round.begin(), round.end());
            if (n)
                previous = round.back();
        }
    }
    int number = 0;
    for (int index : sequence) {
        Trial trial = items[index];
        trial.number = ++number;
        trials.push_back(trial);
    }
    return trials;
}

std::vector<std::string> TrialChoices(const Experiment& experiment) {
    if (experiment.task == TestTask::Identification)
        return experiment.labels;
    if (experiment.kind == DiscriminationKind::AX)
        return {kSameResponse, kDifferentResponse};
    return {"A", "B"};
}
