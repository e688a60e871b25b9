#include "drawing/RecordingMeasure.h"

#include "analysis/FormantAnalysis.h"
#include "audio/SoundFile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace {

// Why a file cannot be measured, from its header; "" when it can.
std::string WhyNotReadable(const std::string& path) {
    SoundFileFormat format;
    int error = 0;
    switch (ReadSoundFileFormat(path, format, &error)) {
    case SoundFileStatus::Ok:
        return "";
    case SoundFileStatus::CannotOpen:
        return std::string("cannot be opened (") + std::strerror(error) + ")";
    case SoundFileStatus::NotAFile:
        return error == EISDIR ? "is a folder" : "is not a regular file";
    case SoundFileStatus::TooLong:
        return "is too long to measure";
    case SoundFileStatus::NotSound:
        break;
    }
    return "cannot be decoded as sound";
}

// The median of up to five values around each frame: a single frame that misreads a formant
// does not pull the drawn line aside, while a glide keeps its course.
std::vector<RecordingFormants::Frame> Smoothed(const std::vector<RecordingFormants::Frame>& in) {
    std::vector<RecordingFormants::Frame> out(in.size());
    const auto median = [&in](size_t centre, double RecordingFormants::Frame::*value) {
        std::vector<double> near;
        for (size_t i = centre >= 2 ? centre - 2 : 0; i <= centre + 2 && i < in.size(); ++i)
            near.push_back(in[i].*value);
        std::nth_element(near.begin(), near.begin() + near.size() / 2, near.end());
        return near[near.size() / 2];
    };
    for (size_t i = 0; i < in.size(); ++i)
        out[i] = {median(i, &RecordingFormants::Frame::f1),
                  median(i, &RecordingFormants::Frame::f2)};
    return out;
}

} // namespace

RecordingFormants MeasureRecordingFile(const std::string& path, const std::atomic<bool>* stop) {
    RecordingFormants result;
    result.problem = WhyNotReadable(path);
    DecodedSound sound;
    if (result.problem.empty() && !DecodeSoundFile(path, sound))
        result.problem = "cannot be decoded as sound";
    if (!result.problem.empty())
        return result;
    std::vector<float> samples(sound.samples.size());
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<float>(sound.samples[i] / 32768.0);
    const std::vector<FormantFrame> frames =
        TrackFormants(MixToMono(samples, sound.channels), sound.sampleRate, stop);
    const FormantSummary summary = SummariseVowel(frames);
    if (!summary.voiced) {
        result.status = RecordingFormants::Status::Unvoiced;
        return result;
    }
    result.status = RecordingFormants::Status::Voiced;
    result.f1 = summary.formantsHz[0];
    result.f2 = summary.formantsHz[1];
    std::vector<RecordingFormants::Frame> track;
    for (const FormantFrame& frame : frames)
        if (frame.voiced)
            track.push_back({frame.formantsHz[0], frame.formantsHz[1]});
    result.track = Smoothed(track);
    return result;
}
