// The order of the trials: every item as often as asked, balanced rounds without repeats.
#include "experiment/TrialList.h"

#include <gtest/gtest.h>

#include <map>

namespace {

Experiment Continuum(int steps) {
    Experiment e;
    for (int i = 1; i <= steps; ++i)
        e.stimuli.push_back({i, "s" + std::to_string(i) + ".wav", 0, 0});
    e.participant = "P01";
    return e;
}

std::vector<int> Heard(const std::vector<Trial>& trials) {
    std::vector<int> heard;
    for (const Trial& t : trials)
        if (t.block == TrialBlock::Test)
            heard.push_back(t.sounds[0]);
    return heard;
}

TEST(TrialOrder, BalancedRoundsHoldEveryStimulusOnceAndNeverRepeat) {
    for (int steps : {2, 3, 7}) {
        for (const char* participant : {"P01", "P02", "listener 3"}) {
            Experiment e = Continuum(steps);
            e.participant = participant;
            const std::vector<int> heard = Heard(MakeTrials(e));
            ASSERT_EQ(heard.size(), size_t(steps * 10));
            for (int round = 0; round < 10; ++round) {
                std::vector<int> seen(heard.begin() + round * steps,
                                      heard.begin() + (round + 1) * steps);
                std::sort(seen.begin(), seen.end());
                for (int i = 0; i < steps; ++i)
                    EXPECT_EQ(seen[i], i) << steps << " steps, round " << round;
            }
            for (size_t i = 1; i < heard.size(); ++i)
                EXPECT_NE(heard[i], heard[i - 1]) << steps << " steps, trial " << i + 1;
        }
    }
    // The same code gives the same order (a session can be resumed); another, another.
    Experiment a = Continuum(7), b = Continuum(7);
    b.participant = "P02";
    EXPECT_EQ(Heard(MakeTrials(a)), Heard(MakeTrials(a)));
    EXPECT_NE(Heard(MakeTrials(a)), Heard(MakeTrials(b)));
}

TEST(TrialOrder, CyclicAndRandomOrdersAndThePracticeBlock) {
    Experiment e = Continuum(4);
    e.repetitions = 3;
    e.order = TrialOrder::Cyclic;
    e.practiceRepetitions = 2;
    const std::vector<Trial> trials = MakeTrials(e);
    EXPECT_EQ(Heard(trials), (std::vector<int>{0, 1, 2, 3, 0, 1, 2, 3, 0, 1, 2, 3}));
    ASSERT_EQ(trials.size(), 16u);
    for (int i = 0; i < 4; ++i) { // the end points, alternating
        EXPECT_EQ(trials[i].block, TrialBlock::Practice);
        EXPECT_EQ(trials[i].sounds[0], i % 2 ? 3 : 0);
    }
    EXPECT_EQ(trials[4].number, 1);
    EXPECT_EQ(trials.back().number, 12);

    e.order = TrialOrder::Random;
    e.repetitions = 5;
    std::map<int, int> count;
    for (int sound : Heard(MakeTrials(e)))
        ++count[sound];
    EXPECT_EQ(count, (std::map<int, int>{{0, 5}, {1, 5}, {2, 5}, {3, 5}}));
}

TEST(TrialOrder, DiscriminationPairsTheirDistancesApartWithSamePairs) {
    Experiment e = Continuum(4);
    e.task = TestTask::Discrimination;
    e.pairDistances = {1, 2};
    e.repetitions = 1;
    std::map<std::vector<int>, int> ax;
    for (const Trial& t : MakeTrials(e)) {
        ++ax[t.sounds];
        EXPECT_EQ(t.expected, t.sounds[0] == t.sounds[1] ? "same" : "different");
    }
    EXPECT_EQ(ax[(std::vector<int>{0, 1})], 1);
    EXPECT_EQ(ax[(std::vector<int>{3, 1})], 1);
    EXPECT_EQ(ax[(std::vector<int>{0, 0})], 2); // with its pairs 1-2 and 1-3
    EXPECT_EQ(ax.count(std::vector<int>{0, 3}), 0u);
    EXPECT_EQ(MakeTrials(e).size(), 5u * 4); // 3 pairs one apart, 2 two apart

    e.kind = DiscriminationKind::ABX;
    e.pairDistances = {2};
    for (const Trial& t : MakeTrials(e)) {
        ASSERT_EQ(t.sounds.size(), 3u);
        EXPECT_EQ(std::abs(t.sounds[0] - t.sounds[1]), 2);
        EXPECT_EQ(t.expected, t.sounds[2] == t.sounds[0] ? "A" : "B");
    }
}

} // namespace
