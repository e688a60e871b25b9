// The pitch of a voice data file where a sound voiced by it plays it.
#pragma once

#include <string>

// Mean F0 in Hz of the first `sampleCount` samples of the voice file (of its first 300 ms
// when that is more), the stretch a sound of that many samples plays; measured with the
// voicing analyser. 0 when the file cannot be read or holds no measurable voicing there.
double MeasureVoiceF0(const std::string& voiceFile, int sampleCount);
