// The form of Voice > New Voice: the voice's name and the pitch and perturbations it is
// made with.
#pragma once

#include "view/InputPrompt.h"
#include "voicing/VoiceMaker.h"

#include <string>

// The fields of the form, in order.
enum VoiceField {
    kVoiceName,
    kVoiceF0,
    kVoiceF0End,  // empty: a level pitch
    kVoiceJitter, // empty: the bundled voices' value at the voice's pitch, as the next two
    kVoiceShimmer,
    kVoiceBreath,
    kVoiceSeed,
};

// The form with its fields empty, but the seed 1.
InputForm NewVoiceForm();

// Reads the form: "" with the voice's file name (the name with ".dat", which may be typed
// too) and the request, or why not: no name, a name that cannot be a file name, a field that
// is not a number, or a value out of its range (named).
std::string ReadNewVoiceForm(const InputForm& form, std::string& fileName, VoiceRequest& request);
