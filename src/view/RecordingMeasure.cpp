#include "view/RecordingMeasure.h"

#include "analysis/FormantAnalysis.h"
#include "audio/SoundFile.h"

RecordingFormants MeasureRecordingFile(const std::string& path) {
    RecordingFormants result;
    SoundFileFormat format;
    if (ReadSoundFileFormat(path, format) != SoundFileStatus::Ok) {
        result.problem = "cannot be read as a sound file";
        return result;
    }
    DecodedSound sound;
    if (!DecodeSoundFile(path, sound)) {
        result.problem = "cannot be decoded as a sound file";
        return result;
    }
    std::vector<float> samples(sound.samples.size());
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<float>(sound.samples[i] / 32768.0);
    const std::vector<FormantFrame> frames =
        TrackFormants(MixToMono(samples, sound.channels), sound.sampleRate);
    const FormantSummary summary = SummariseVowel(frames);
    if (!summary.voiced) {
        result.status = RecordingFormants::Status::Unvoiced;
        return result;
    }
    result.status = RecordingFormants::Status::Voiced;
    result.f1 = summary.formantsHz[0];
    result.f2 = summary.formantsHz[1];
    for (const FormantFrame& frame : frames)
        if (frame.voiced)
            result.track.push_back({frame.formantsHz[0], frame.formantsHz[1]});
    return result;
}
