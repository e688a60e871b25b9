// The trials of a listening test in the order the listener hears them.
#pragma once

#include "experiment/Experiment.h"

#include <string>
#include <vector>

enum class TrialBlock { Practice, Test };

// One trial: the stimuli it plays, in order (indexes into Experiment::stimuli). An
// identification trial plays one; an AX trial two (A, then X); an ABX trial three.
struct Trial {
    TrialBlock block = TrialBlock::Test;
    int number = 0; // from 1 within its block
    std::vector<int> sounds;
    // Discrimination: the answer that is right ("same"/"different", or "A"/"B").
    std::string expected;
};

// The practice trials (the end points, each practiceRepetitions times, alternating) and then
// the test trials. Identification: every stimulus `repetitions` times. AX: for each pair of
// stimuli the distances apart, both orders (AB, BA) and both same pairs (AA, BB), each
// `repetitions` times. ABX: ABA, ABB, BAA and BAB for each pair, each `repetitions` times.
//
// Order: Balanced plays every item once in a random order, then again in a new order, and
// so on, never the same item twice in a row (also across the rounds); Cyclic plays the items
// in their own order round after round; Random shuffles all trials at once. The draw uses
// OrderSeed(experiment), so the same participant code gives the same list.
std::vector<Trial> MakeTrials(const Experiment& experiment);

// The responses to a trial the listener may give.
std::vector<std::string> TrialChoices(const Experiment& experiment);

// "same"/"different" and "A"/"B" as they appear in the responses file.
extern const char* const kSameResponse;
extern const char* const kDifferentResponse;
