// A table of measured vowels: one row per token (or per mean) with its formants and group.
#pragma once

#include <optional>
#include <string>
#include <vector>

struct ReferenceTable {
    // One measured vowel: its symbol (UTF-8, IPA in the bundled tables), F1 and F2 (and F3
    // when the table has it) in Hz, its group ("" when the table has no group column), and
    // the line of the file it came from.
    struct Token {
        std::string vowel;
        double f1 = 0;
        double f2 = 0;
        std::optional<double> f3;
        std::string group;
        int line = 0;
    };

    std::vector<Token> tokens;

    // The groups of the tokens in the order they first appear ("" for a table without a
    // group column).
    std::vector<std::string> Groups() const;
};
