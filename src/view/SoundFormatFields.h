// The sample rate and sample format of exported sounds and continua: two fields of a form,
// and the choice the settings keep.
#pragma once

#include "stimuli/SoundFormat.h"
#include "view/InputPrompt.h"

#include <cstddef>

// Appends "Sample rate" and "Sample format", showing format. The formats offered are those
// a file of the type can hold (FLAC holds no 32-bit float; its nearest, 24-bit PCM, is
// shown for it).
void AddSoundFormatFields(InputForm& form, const SoundFormat& format,
                          SoundFileType type = SoundFileType::Wav);
// The format chosen in the two fields from field `first` on.
SoundFormat SoundFormatOfFields(const InputForm& form, size_t first);

// The format the settings keep; 10000 Hz and 16-bit PCM when they keep none, or one that
// cannot be written.
SoundFormat StoredSoundFormat();
void StoreSoundFormat(const SoundFormat& format);
