// Helpers for the engine tests: synthetic voice files and a fresh engine per test.
#pragma once

#include "base/Report.h"
#include "synth/SynthEngine.h"

#include <cmath>
#include <cstdint>
#include <fstream>
#include <numbers>
#include <string>
#include <vector>

namespace synthtest {

// A crude voicing waveform near 120 Hz: a sawtooth with a sharp closure every 83 samples,
// plus a slower sinusoid so that consecutive periods differ.
inline std::vector<int32_t> SyntheticVoicing(int count, double amplitude = 3000.0) {
    std::vector<int32_t> samples(count);
    for (int i = 0; i < count; ++i) {
        const double phase = (i % 83) / 83.0;
        const double wobble = std::sin(2.0 * std::numbers::pi * i / 517.0);
        samples[i] = static_cast<int32_t>(std::lround(amplitude * (phase - 0.5 + 0.2 * wobble)));
    }
    return samples;
}

inline std::vector<int32_t> ConstantVoicing(int count, int32_t value) {
    return std::vector<int32_t>(count, value);
}

// Writes samples in the voice data file format: count, scale factor, one sample a line.
inline void WriteVoiceFile(const std::string& path, const std::vector<int32_t>& samples) {
    std::ofstream out(path);
    out << samples.size() << "\n0.00001\n";
    for (int32_t sample : samples)
        out << sample << "\n";
}

inline void WriteText(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
}

inline std::vector<uint8_t> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

inline uint32_t U32At(const std::vector<uint8_t>& bytes, size_t offset) {
    return bytes[offset] | bytes[offset + 1] << 8 | bytes[offset + 2] << 16 |
           uint32_t{bytes[offset + 3]} << 24;
}

inline uint16_t U16At(const std::vector<uint8_t>& bytes, size_t offset) {
    return static_cast<uint16_t>(bytes[offset] | bytes[offset + 1] << 8);
}

// Shows a report through the installed message sink, as the engine's callers do; true when
// the operation succeeded.
inline bool Shown(const Report& report) {
    ShowReport(report);
    return report.Ok();
}

// The text a failed operation gives as its reason ("" when it succeeded).
inline std::string FailureText(const Report& report) {
    return report.Ok() || report.Messages().empty() ? "" : report.Messages().back().text;
}

// FNV-1a over the samples: a compact fingerprint of a rendering.
inline uint64_t Fingerprint(const std::vector<int32_t>& samples) {
    uint64_t hash = 1469598103934665603ull;
    for (int32_t sample : samples) {
        uint32_t bits = static_cast<uint32_t>(sample);
        for (int i = 0; i < 4; ++i) {
            hash ^= (bits >> (8 * i)) & 0xFF;
            hash *= 1099511628211ull;
        }
    }
    return hash;
}

} // namespace synthtest
