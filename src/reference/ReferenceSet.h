// The bundled reference vowel sets: one per study and group of speakers, with citations.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// One group of speakers of a published study whose vowel measurements ship with the
// program (data/reference/), as offered in the reference vowel menu.
struct ReferenceSet {
    std::string key;          // "peterson-barney-1952:men": the setting and --reference value
    std::string fileName;     // "peterson-barney-1952.csv", in the reference data folder
    std::string group;        // "men": the file's group column
    std::string label;        // "Peterson & Barney 1952: men", for a menu entry
    std::string citation;     // one line naming the paper, for a status bar or tooltip
    std::string fullCitation; // the paper's reference, for the About box and README
};

// Every bundled set, in menu order (study by study, men, women, children).
const std::vector<ReferenceSet>& ReferenceSets();

// The bundled set with this key, or nullptr.
const ReferenceSet* FindReferenceSet(std::string_view key);

// The full citation of every paper the bundled sets come from, each once, in menu order.
std::vector<std::string> ReferenceCitations();

// The path of a bundled set's file in the reference data folder (no trailing "/").
std::string ReferenceSetPath(const std::string& referenceDir, const ReferenceSet& set);
