// The last take of live listening: the sound of the last voiced stretch, kept to be saved.
#pragma once

#include "base/Report.h"

#include <cstdint>
#include <ctime>
#include <mutex>
#include <string>
#include <vector>

// Keeps the last seconds of the input and the voiced frames found in it, and gives the last
// voiced stretch: from its first to its last voiced frame, kMarginS more on each side, at
// most kLongestS (its end is kept). Voiced frames less than kGapS apart belong to one
// stretch, so that a voiceless consonant inside a word does not cut it. Safe to use from
// two threads.
class CTakeBuffer {
public:
    static constexpr double kMarginS = 0.1;
    static constexpr double kLongestS = 10;
    static constexpr double kGapS = 0.3;

    explicit CTakeBuffer(int sampleRate);

    // Forgets everything, for a new start.
    void Clear();
    void AddSamples(const float* samples, size_t count);
    // A voiced frame centred at timeS (seconds since the first sample added).
    void AddVoicedFrame(double timeS);
    // The samples of the last voiced stretch; empty when nothing was voiced.
    std::vector<float> LastTake() const;
    int SampleRate() const { return m_nRate; }

private:
    int m_nRate;
    mutable std::mutex m_lock;
    std::vector<float> m_ring; // the last samples, m_ring[i % size] is sample i
    int64_t m_nAdded = 0;
    int64_t m_nStart = -1; // the stretch's first and last voiced sample
    int64_t m_nEnd = -1;
};

// The file name of a take made at the given time: "take-YYYYMMDD-HHMMSS.wav" (local time).
std::string TakeFileName(std::time_t when);

// Writes samples as a 16-bit WAV file named for the time `when` into folder; a file of that
// name is never overwritten ("take-...-2.wav" and so on follow). Returns "" and the file's
// path, or a report of what went wrong (caption "Listen").
Report WriteTake(const std::vector<float>& samples, int sampleRate, const std::string& folder,
                 std::time_t when, std::string& path);
