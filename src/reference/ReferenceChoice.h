// The reference vowels chosen for the chart: a bundled set or the user's own table, loaded.
#pragma once

#include "base/Report.h"
#include "reference/ReferenceVowel.h"

#include <string>
#include <vector>

// A set of reference vowels ready to be drawn: what was chosen, how it is named, and the
// vowels with their tokens and means.
struct ReferenceChoice {
    // A bundled set's key ("peterson-barney-1952:men"), or the path of the user's table;
    // this is what the settings keep.
    std::string choice;
    // "Peterson & Barney 1952: men"; for a user's table its file name, and the group drawn
    // when the table has groups ("vowels.csv: men").
    std::string label;
    // The paper in one line for a bundled set; the table's path for a user's table.
    std::string citation;
    // "Reference vowels: " with the label and the citation, for a tooltip.
    std::string description;
    std::vector<ReferenceVowel> vowels;

    // Whether the vowels come from a table of the user's rather than a bundled set.
    bool IsUserTable() const;
};

// Loads a choice. A bundled set's key is looked up in the catalogue and its file read from
// the first of folders that holds it; anything else is the path of a table of the user's,
// of which the first group (in the order of the file; all rows when the table has no group
// column) is drawn. Succeeds with the vowels in loaded; fails with the whole message and
// loaded unchanged: nothing of a file that cannot be read, or that holds a bad row, is drawn.
Report LoadReferenceChoice(const std::string& choice, const std::vector<std::string>& folders,
                           ReferenceChoice& loaded);
