// A table of measured vowels: one row per token (or per mean) with its formants and group.
#include "reference/ReferenceTable.h"

#include <string_view>
#include <unordered_set>

std::vector<std::string> ReferenceTable::Groups() const {
    // A set of the groups seen: a table of one token per group takes linear time.
    std::vector<std::string> groups;
    std::unordered_set<std::string_view> seen;
    for (const auto& token : tokens)
        if (seen.insert(token.group).second)
            groups.push_back(token.group);
    return groups;
}
