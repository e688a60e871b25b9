// Feeds arbitrary bytes to the reference vowel table reader, and checks that a table it
// accepts holds only what the reader promises and that every group's means stay in range.
#include "reference/ReferenceTableReader.h"
#include "reference/ReferenceVowel.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

bool IsFormant(double hz) {
    return hz > 0 && hz <= kMaxReferenceHz;
}

bool IsName(const std::string& name) {
    return !name.empty() && name.size() <= kMaxReferenceNameBytes;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    ReferenceTable table;
    if (const Report parsed = ParseReferenceTable(bytes, table); !parsed.Ok()) {
        if (parsed.Text().empty() || !table.tokens.empty())
            std::abort();
        return 0;
    }
    if (table.tokens.empty() || table.tokens.size() > kMaxReferenceTokens)
        std::abort();
    for (const auto& token : table.tokens)
        if (!IsName(token.vowel) || !IsFormant(token.f1) || !IsFormant(token.f2) ||
            (token.f3 && !IsFormant(*token.f3)))
            std::abort();
    for (const auto& group : table.Groups())
        for (const auto& vowel : ReferenceVowelsOf(table, group))
            if (vowel.f1.empty() || vowel.f1.size() != vowel.f2.size() ||
                !IsFormant(vowel.meanF1) || !IsFormant(vowel.meanF2))
                std::abort();
    return 0;
}
