// A vowel continuum: vowels at equal steps between two points, written as numbered sound
// files with a manifest.
#pragma once

#include "stimuli/FormantScale.h"
#include "stimuli/SoundFormat.h"
#include "stimuli/VowelStimulus.h"

#include <functional>
#include <string>
#include <vector>

constexpr int kFewestContinuumSteps = 2;
constexpr int kMostContinuumSteps = 100;

// What a continuum is made of and where it goes. The vowels are steady and played as the
// chart plays them (with the end fade).
struct ContinuumRequest {
    std::string voiceFile;
    Formants from; // f3 0: not given (then neither point may give it)
    Formants to;
    int steps = 7;
    FormantScale scale = FormantScale::Bark;
    int frameMs = 100; // each of the five frames
    int tiltDb = 0;
    SoundFormat format; // the step files are WAV files
    std::string folder;
    std::string prefix = "continuum";
    bool replaceExisting = false; // false: refuse when any file of the continuum exists
};

// The vowel of one step as the chart plays it.
VowelStimulus ContinuumStepVowel(const ContinuumRequest& request, const Formants& formants);

// "PREFIX-NN.wav" for step (from 1), numbered with as many digits as the number of steps
// has, and at least two; "PREFIX.csv" for the manifest.
std::string ContinuumFileName(const std::string& prefix, int step, int steps);
std::string ContinuumManifestName(const std::string& prefix);

// The manifest: a header line, then per written step its number, file name, F1, F2 and F3
// as rendered (Hz), the voice's F0 (Hz, one decimal; empty when it cannot be measured), the
// length in ms and the scale.
std::string ContinuumManifest(const ContinuumRequest& request, const std::vector<Formants>& written,
                              double voiceF0);

// Why the values cannot make a continuum ("" when they can): steps, formants, F3 given for
// one point only, an automatic F3 beyond 5000 Hz, frame length, tilt, rate, prefix.
std::string CheckContinuumValues(const ContinuumRequest& request);

// Why the files cannot be written ("" when they can): the folder is a file; a file of the
// continuum exists and replaceExisting is off (`existing` is then true); a file to be
// replaced is read-only, a folder, a device or a pipe.
std::string CheckContinuumFiles(const ContinuumRequest& request, bool& existing);

enum class ContinuumOutcome {
    Written,    // every step and the manifest
    Cancelled,  // the steps written until then, and their manifest
    BadRequest, // bad values or a voice that cannot be rendered: nothing written
    FilesExist, // files of the continuum exist and replaceExisting is off: nothing written
    Failed,     // writing failed: the whole files written before, and their manifest
};

struct ContinuumResult {
    ContinuumOutcome outcome = ContinuumOutcome::Failed;
    int written = 0;     // step files written
    std::string message; // why, unless Written
};

// Called after each step file is written with the number written and the number of steps;
// returning false cancels the rest.
using ContinuumProgress = std::function<bool(int written, int steps)>;

// Checks the request, renders the first step (so that an unusable voice writes nothing),
// makes the folder when it is missing, then writes the steps in order and finally the
// manifest of the steps written. The steps are rendered on the calling thread (the engine
// is not re-entrant) a few at a time, and resampled and encoded on one thread per
// processor; progress is called on the calling thread after each file.
ContinuumResult WriteContinuum(const ContinuumRequest& request,
                               const ContinuumProgress& progress = {});
