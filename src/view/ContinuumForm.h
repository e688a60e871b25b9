// The form of Tools > Make Continuum: where a continuum starts and ends, its steps and
// scale, where its files go and how they are stored.
#pragma once

#include "stimuli/Continuum.h"
#include "view/InputPrompt.h"

#include <string>
#include <vector>

// A point a continuum can start or end at, as the form offers it: the current point, the
// diphthong's end point or a vowel of the list.
struct ContinuumPoint {
    std::string name;
    Formants formants; // f3 0: the automatic F3 of each step
};

// The fields of the form, in order.
enum ContinuumField {
    kContinuumFrom,   // choice: one of the starts
    kContinuumTo,     // choice: the F1 and F2 typed below, then one of the ends
    kContinuumF1,     // typed end point
    kContinuumF2,     // typed end point
    kContinuumSteps,  // 2 to 100
    kContinuumScale,  // choice: Bark, Hz, ERB
    kContinuumFolder, // folder
    kContinuumPrefix, // the files' names
    kContinuumRate,   // choice: the sample rates
    kContinuumFormat, // choice: the sample formats
    kContinuumLevel,  // choice: natural, peak, RMS
    kContinuumRmsDb,  // the RMS in dB, for the RMS level
};

// The form for starts and ends, showing the values of `shown` (steps, scale, folder, prefix
// and format), the first start, and the first end (the typed point when there is none, its
// F1 and F2 from `typedF1` and `typedF2`, empty when 0).
InputForm ContinuumForm(const std::vector<ContinuumPoint>& starts,
                        const std::vector<ContinuumPoint>& ends, const ContinuumRequest& shown,
                        int typedF1, int typedF2);

// Reads the form into request: the two points (a typed end point takes typedF3), steps,
// scale, folder (made absolute), prefix and format; the voice, frame and tilt are kept.
// Returns "" or why the values cannot make a continuum (a field that is not a number, and
// every reason of CheckContinuumValues).
std::string ReadContinuumForm(const InputForm& form, const std::vector<ContinuumPoint>& starts,
                              const std::vector<ContinuumPoint>& ends, int typedF3,
                              ContinuumRequest& request);
