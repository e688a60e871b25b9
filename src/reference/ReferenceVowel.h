// One vowel of a reference group: its tokens' formants and their mean.
#pragma once

#include "reference/ReferenceTable.h"

#include <string>
#include <string_view>
#include <vector>

struct ReferenceVowel {
    std::string symbol;     // as in the table (IPA in the bundled tables), UTF-8
    std::vector<double> f1; // the tokens' F1 in Hz, in table order
    std::vector<double> f2; // the tokens' F2 in Hz, parallel to f1
    double meanF1 = 0;      // arithmetic mean of f1, Hz
    double meanF2 = 0;      // arithmetic mean of f2, Hz
};

// The vowels of one group of a table (group "" for a table without a group column), each
// with its tokens and mean, in the order the vowels first appear; empty for an unknown
// group. The spread around each mean on the chart comes from SpreadEllipseOf
// (view/SpreadEllipse.h) of f1 and f2.
std::vector<ReferenceVowel> ReferenceVowelsOf(const ReferenceTable& table, std::string_view group);
