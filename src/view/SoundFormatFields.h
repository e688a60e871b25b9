// The sample rate, sample format and level of exported sounds and continua: four fields of a
// form, and the choice the settings keep.
#pragma once

#include "stimuli/SoundFormat.h"
#include "view/InputPrompt.h"

#include <cstddef>

// Appends "Sample rate", "Sample format", "Level" and "RMS (dB, -80 to 0)", showing format
// and level. The formats offered are those a file of the type can hold (FLAC holds no 32-bit
// float; its nearest, 24-bit PCM, is shown for it).
void AddSoundFormatFields(InputForm& form, const SoundFormat& format, const SoundLevel& level,
                          SoundFileType type = SoundFileType::Wav);
// The format chosen in the fields from field `first` on.
SoundFormat SoundFormatOfFields(const InputForm& form, size_t first);
// The level chosen in the same fields; "" or why the typed RMS is none.
std::string SoundLevelOfFields(const InputForm& form, size_t first, SoundLevel& level);

// The format the settings keep; 10000 Hz and 16-bit PCM when they keep none, or one that
// cannot be written.
SoundFormat StoredSoundFormat();
void StoreSoundFormat(const SoundFormat& format);
// The level the settings keep; natural when they keep none that can be read.
SoundLevel StoredSoundLevel();
void StoreSoundLevel(const SoundLevel& level);
