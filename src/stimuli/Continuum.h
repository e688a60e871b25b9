// A vowel continuum: vowels at equal steps between two points, written as numbered sound
// files with a manifest.
#pragma once

#include "stimuli/FormantScale.h"
#include "stimuli/SoundExport.h"
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
    SoundLevel level;   // natural: one common factor for all steps
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

// The manifest: a header line, then per step its number, file name, F1, F2 and F3 as
// rendered (Hz), the voice's F0 (Hz, one decimal; empty when it cannot be measured), the
// length in ms, the scale, the gain against the vowel's own level and the file's RMS (dB,
// two decimals).
std::string ContinuumManifest(const ContinuumRequest& request, const std::vector<Formants>& steps,
                              const std::vector<AppliedLevel>& levels, double voiceF0);

// Why the values cannot make a continuum ("" when they can): steps, formants, F3 given for
// one point only, an automatic F3 beyond 5000 Hz, frame length, tilt, rate, prefix, file
// names longer than the file system allows.
std::string CheckContinuumValues(const ContinuumRequest& request);

// Why the files cannot be written ("" when they can): the folder is a file; a file of the
// continuum exists and replaceExisting is off (`existing` is then true); a file to be
// replaced is read-only, a folder, a device or a pipe.
std::string CheckContinuumFiles(const ContinuumRequest& request, bool& existing);

enum class ContinuumOutcome {
    Written,    // every step and the manifest
    Cancelled,  // nothing written; an earlier continuum of the name is left as it was
    BadRequest, // bad values, a level that cannot be had or an unusable voice: nothing written
    FilesExist, // files of the continuum exist and replaceExisting is off: nothing written
    Busy,       // another continuum of the prefix is being written there: nothing written
    Failed,     // writing failed (`written` says how many files were moved into place)
};

struct ContinuumResult {
    ContinuumOutcome outcome = ContinuumOutcome::Failed;
    int written = 0;                  // files of the continuum in place (steps, then manifest)
    std::string message;              // why, unless Written: the whole message for the user
    std::vector<AppliedLevel> levels; // of each step, when Written
};

// Called after each step is rendered and encoded with the number done and the number of
// steps; returning false cancels the continuum.
using ContinuumProgress = std::function<bool(int done, int steps)>;

// Checks the request, renders every step (so that an unusable voice or a level that cannot
// be had writes nothing), makes the folder when it is missing and takes the continuum's lock
// there, then writes the steps and the manifest under temporary names and moves them into
// place only when all are written. A failure or a cancel leaves an earlier continuum whole
// and nothing new (the folder, when it was made, is taken away again). The steps are rendered
// on the calling thread (the engine is not re-entrant) and resampled and encoded on one
// thread per processor; progress is called on the calling thread.
ContinuumResult WriteContinuum(const ContinuumRequest& request,
                               const ContinuumProgress& progress = {});
