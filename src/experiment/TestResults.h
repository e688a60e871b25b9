// The results of listening tests from their responses: the identification curve of each
// label with its fitted boundary, and the discrimination of each pair of steps.
#pragma once

#include "experiment/LogisticFit.h"
#include "experiment/Responses.h"

#include <string>
#include <vector>

extern const char* const kPooledParticipant; // "all"

// One label's curve for one participant (or all of them pooled).
struct LabelCurve {
    std::string participant;
    std::string label;
    std::vector<StepCount> counts; // x: the step
    LogisticFit fit;
    // The boundary in Hz on the continuum (F1 and F2 between the steps on either side of
    // it); 0 when the steps' formants are not known or it lies beyond the continuum.
    double boundaryF1 = 0, boundaryF2 = 0;
};

// The identification test rows (not practice) of every participant and pooled, one curve per
// label, labels in the order they first appear; participants in the order they appear, then
// the pooled curves.
std::vector<LabelCurve> IdentificationCurves(const std::vector<Response>& responses);

// The estimates as CSV: the header
// participant,label,boundary_step,boundary_hz_f1,boundary_hz_f2,slope,ci_low,ci_high,n
// and one row per curve; what is missing is left empty.
std::string IdentificationCsv(const std::vector<LabelCurve>& curves);

// One pair of steps in a discrimination test.
struct PairDiscrimination {
    std::string participant;
    std::string task;         // "AX" or "ABX"
    int lower = 0, upper = 0; // the steps
    int differentTrials = 0;
    double proportionDifferent = 0; // AX: "different" on different pairs; ABX: correct
    int sameTrials = 0;             // AX only
    double falseAlarms = 0;         // AX: "different" on same pairs
    double dPrime = 0;
};

std::vector<PairDiscrimination> PairDiscriminations(const std::vector<Response>& responses);

// participant,task,step_a,step_b,n_different,p_different,n_same,p_same_called_different,d_prime
std::string DiscriminationCsv(const std::vector<PairDiscrimination>& pairs);

// d' of a same-different (AX) listener under the independent-observation model, from the
// hit rate (different called different) and the false-alarm rate (same called different),
// each out of its number of trials (rates of 0 or 1 become 1/(2N) from the edge).
double AxDPrime(double hits, int differentTrials, double falseAlarms, int sameTrials);
// d' of an ABX listener under the independent-observation model from the proportion
// correct of an unbiased listener.
double AbxDPrime(double proportionCorrect, int trials);
