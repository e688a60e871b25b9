// Reads a written sound file back with libsndfile, for the stimulus tests.
#pragma once

#include <sndfile.h>

#include <string>
#include <vector>

// The samples of a mono file as libsndfile gives them (full scale +-1); info gets the rate,
// frame count and format. Empty when the file cannot be read.
inline std::vector<double> ReadSound(const std::string& path, SF_INFO& info) {
    info = SF_INFO{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (!file)
        return {};
    std::vector<double> samples(static_cast<size_t>(info.frames));
    samples.resize(static_cast<size_t>(sf_readf_double(file, samples.data(), info.frames)));
    sf_close(file);
    return samples;
}
