// A table of measured vowels: one row per token (or per mean) with its formants and group.
#include "reference/ReferenceTable.h"

#include <algorithm>

std::vector<std::string> ReferenceTable::Groups() const {
    std::vector<std::string> groups;
    for (const auto& token : tokens)
        if (std::find(groups.begin(), groups.end(), token.group) == groups.end())
            groups.push_back(token.group);
    return groups;
}
