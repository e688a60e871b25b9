// Feeds arbitrary bytes to the wave list reader, and checks that every list it reads, and
// every list of file names made from the bytes, saves and reads back unchanged.
#include "audio/WaveListFile.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

const std::string kListDir = "/home/user/lists/";

// Room for the "../" groups a line may gain against kListDir.
constexpr size_t kLongestCheckedName = kMaxWaveListLineBytes - 16;

bool Writable(const std::vector<std::string>& entries) {
    if (entries.size() > kMaxWaveListLines)
        return false;
    for (const std::string& entry : entries)
        if (entry.size() > kLongestCheckedName || entry.find('\n') != std::string::npos)
            return false;
    return true;
}

void CheckRoundTrip(const std::vector<std::string>& entries) {
    if (!Writable(entries))
        return;
    std::vector<std::string> again;
    std::string problem;
    if (!ParseWaveListText(WaveListText(entries, kListDir), kListDir, again, problem) ||
        again != entries)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    // The bytes as a list file.
    std::vector<std::string> entries;
    std::string problem;
    if (ParseWaveListText(bytes, kListDir, entries, problem))
        CheckRoundTrip(entries);
    else if (problem.empty())
        std::abort();

    // The bytes as file names between NUL bytes, each a full path inside the list's folder
    // or elsewhere, as the first byte of the piece chooses.
    std::vector<std::string> names;
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = bytes.find('\0', start);
        if (end == std::string_view::npos)
            end = bytes.size();
        if (end > start) {
            const std::string_view piece = bytes.substr(start + 1, end - start - 1);
            names.push_back((bytes[start] & 1 ? kListDir : std::string("/")) + std::string(piece));
        }
        start = end + 1;
    }
    CheckRoundTrip(names);
    return 0;
}
