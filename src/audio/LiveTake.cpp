#include "audio/LiveTake.h"

#include <sndfile.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

CTakeBuffer::CTakeBuffer(int sampleRate)
    : m_nRate(sampleRate),
      // The longest take and its last margin, which may still be coming in.
      m_ring(static_cast<size_t>(std::ceil((kLongestS + 2 * kMarginS + 1) * sampleRate)), 0.0f) {}

void CTakeBuffer::Clear() {
    std::lock_guard lock(m_lock);
    m_nAdded = 0;
    m_nStart = m_nEnd = -1;
}

void CTakeBuffer::AddSamples(const float* samples, size_t count) {
    std::lock_guard lock(m_lock);
    for (size_t i = 0; i < count; ++i)
        m_ring[static_cast<size_t>(m_nAdded++ % static_cast<int64_t>(m_ring.size()))] = samples[i];
}

void CTakeBuffer::AddVoicedFrame(double timeS) {
    std::lock_guard lock(m_lock);
    const int64_t at = std::llround(timeS * m_nRate);
    if (m_nEnd < 0 || at - m_nEnd > std::llround(kGapS * m_nRate))
        m_nStart = at;
    m_nEnd = at;
}

std::vector<float> CTakeBuffer::LastTake() const {
    std::lock_guard lock(m_lock);
    if (m_nEnd < 0)
        return {};
    const int64_t margin = std::llround(kMarginS * m_nRate);
    const int64_t size = static_cast<int64_t>(m_ring.size());
    const int64_t end = std::min(m_nEnd + margin, m_nAdded);
    const int64_t longest = std::llround(kLongestS * m_nRate);
    const int64_t start = std::max({m_nStart - margin, end - longest, m_nAdded - size, int64_t{0}});
    std::vector<float> take;
    for (int64_t i = start; i < end; ++i)
        take.push_back(m_ring[static_cast<size_t>(i % size)]);
    return take;
}

std::string TakeFileName(std::time_t when) {
    std::tm local{};
    localtime_r(&when, &local);
    char name[64];
    std::strftime(name, sizeof name, "take-%Y%m%d-%H%M%S.wav", &local);
    return name;
}

namespace {

// What keeping a take failed at, under the caption of the command that keeps it.
Report TakeNotWritten(const std::string& text) {
    Report report;
    report.Fail(text, "Listen", MsgIcon::Warning);
    return report;
}

} // namespace

Report WriteTake(const std::vector<float>& samples, int sampleRate, const std::string& folder,
                 std::time_t when, std::string& path) {
    if (samples.empty())
        return TakeNotWritten("There is no take to keep: nothing voiced has been heard yet.");
    const std::string name = TakeFileName(when);
    const std::string stem = folder + "/" + name.substr(0, name.size() - 4);
    int fd = -1;
    // O_EXCL: a file of the name, even one made a moment ago, is never overwritten.
    for (int n = 1; fd < 0 && n < 1000; ++n) {
        path = stem + (n == 1 ? "" : "-" + std::to_string(n)) + ".wav";
        fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd < 0 && errno != EEXIST)
            return TakeNotWritten("Can't write the take \"" + path + "\": " + std::strerror(errno));
    }
    if (fd < 0)
        return TakeNotWritten("Can't write the take into \"" + folder +
                              "\": too many takes of that second");
    SF_INFO info{};
    info.samplerate = sampleRate;
    info.channels = 1;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE* file = sf_open_fd(fd, SFM_WRITE, &info, SF_TRUE);
    if (!file) {
        close(fd);
        unlink(path.c_str());
        return TakeNotWritten("Can't write the take \"" + path + "\": " + sf_strerror(nullptr));
    }
    // Full scale stays full scale; libsndfile clips rather than wrapping around.
    sf_command(file, SFC_SET_CLIPPING, nullptr, SF_TRUE);
    const sf_count_t written =
        sf_write_float(file, samples.data(), static_cast<sf_count_t>(samples.size()));
    const int closed = sf_close(file);
    if (written != static_cast<sf_count_t>(samples.size()) || closed != 0) {
        unlink(path.c_str());
        return TakeNotWritten("Can't write the take \"" + path + "\": the disk may be full");
    }
    return {};
}
