// One vowel of a reference group: its tokens' formants and their mean.
#include "reference/ReferenceVowel.h"

#include <map>
#include <numeric>

std::vector<ReferenceVowel> ReferenceVowelsOf(const ReferenceTable& table, std::string_view group) {
    std::vector<ReferenceVowel> vowels;
    std::map<std::string, size_t, std::less<>> indexOf;
    for (const auto& token : table.tokens) {
        if (token.group != group)
            continue;
        const auto [it, added] = indexOf.try_emplace(token.vowel, vowels.size());
        if (added)
            vowels.push_back(ReferenceVowel{token.vowel, {}, {}, 0, 0});
        vowels[it->second].f1.push_back(token.f1);
        vowels[it->second].f2.push_back(token.f2);
    }
    for (auto& vowel : vowels) {
        const double n = static_cast<double>(vowel.f1.size());
        vowel.meanF1 = std::accumulate(vowel.f1.begin(), vowel.f1.end(), 0.0) / n;
        vowel.meanF2 = std::accumulate(vowel.f2.begin(), vowel.f2.end(), 0.0) / n;
    }
    return vowels;
}
