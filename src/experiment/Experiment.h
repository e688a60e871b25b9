// A listening test on a set of stimuli (usually a vowel continuum): what the listener hears,
// what they answer, and in which order. Read from and written to a small INI file (.qexp).
#pragma once

#include "base/Report.h"

#include <cstdint>
#include <string>
#include <vector>

// One sound of the test: its place on the continuum (from 1) and its formants when known.
struct Stimulus {
    int step = 0;
    std::string file; // as the manifest or the list names it (relative to the test's folder)
    double f1Hz = 0;  // 0: not known (a plain list of files)
    double f2Hz = 0;
};

enum class TestTask { Identification, Discrimination };
enum class DiscriminationKind { AX, ABX };
enum class TrialOrder { Balanced, Cyclic, Random };

constexpr int kFewestLabels = 2;
constexpr int kMostLabels = 8;
constexpr int kMostReplays = 3;
constexpr int kLowestRating = 1;
constexpr int kHighestRating = 7;
constexpr int kMostRepetitions = 100;
constexpr int kLongestPauseMs = 10000; // the ISI and the ITI

struct Experiment {
    std::string title;
    std::vector<Stimulus> stimuli; // in step order
    std::string manifest;          // the continuum's manifest they came from ("" for a list)
    std::string soundFolder;       // where the stimuli's relative file names are found

    TestTask task = TestTask::Identification;
    std::vector<std::string> labels{"A", "B"}; // identification: the response buttons
    bool rating = false; // identification: a goodness rating 1-7 after each answer
    DiscriminationKind kind = DiscriminationKind::AX;
    std::vector<int> pairDistances{1}; // discrimination: steps apart (1, 2 or both)
    int isiMs = 500;                   // discrimination: between the sounds of a trial

    int repetitions = 10;
    TrialOrder order = TrialOrder::Balanced;
    uint64_t seed = 0;           // 0: taken from the participant code, so a session can be resumed
    int practiceRepetitions = 0; // each end point this often before the test; 0: no practice
    int replays = 0;             // 0 to 3
    int itiMs = 1000;            // after an answer, before the next trial's sound
    int breakEvery = 0;          // trials between breaks; 0: none
    std::string instructions;
    std::string participant;
};

// Reads a continuum's manifest (the header "step,file,f1_hz,f2_hz,..." and one line per
// step). On a failure the report says why, naming the line (caption "Listening Test").
Report ReadContinuumManifest(const std::string& path, std::vector<Stimulus>& stimuli);

// Reads a .qexp file. Stimulus files and the manifest are resolved against the file's folder
// when the test starts, not here. On a failure the report's message names the file, the
// line and the key (caption "Listening Test"); experiment is only changed on success.
Report ReadExperimentFile(const std::string& path, Experiment& experiment);
// The same for the file's text (folder: where a manifest named in it is looked for).
Report ParseExperiment(const std::string& text, const std::string& folder, Experiment& experiment);

// The file's text; ParseExperiment reads it back to the same experiment.
std::string ExperimentText(const Experiment& experiment);

// Why the experiment cannot run ("" when it can).
std::string CheckExperiment(const Experiment& experiment);

// The seed the trial order is drawn with: the experiment's own, or one made from the
// participant code (the same code always gives the same order).
uint64_t OrderSeed(const Experiment& experiment);
