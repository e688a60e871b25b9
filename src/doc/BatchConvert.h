// Batch conversion: every .vow document of a folder into four semicolon-separated tables.
#pragma once

#include "base/Report.h"

#include <cstdio>
#include <string>
#include <vector>

class CTundrelDoc;
class VowReader;

// How a batch conversion ended.
enum class BatchOutcome {
    Converted,   // every document was converted; "Fertig" was shown when asked for
    NoDocuments, // the folder holds no .vow file: nothing created, nothing shown
    Failed,      // an output or a document could not be opened, written or read to its end
};

// How a batch conversion ended, and what the user is told, in the order it arose.
struct BatchResult {
    BatchOutcome outcome = BatchOutcome::Failed;
    Report report; // fails unless the outcome is Converted or NoDocuments
};

// The four tables, in the order of index set + 2 × gender.
constexpr int kBatchOutputCount = 4;
extern const char* const kBatchOutputNames[kBatchOutputCount];

// The .vow documents of a folder (extension matched without regard to case, folders left
// out), sorted by file name byte for byte.
std::vector<std::string> FindVowDocuments(const std::string& folder);

// Converts the documents of folder into "AllFemaleCardinal.txt", "AllMaleCardinal.txt",
// "AllFemaleNative.txt" and "AllMaleNative.txt" in that folder, taking the vowel symbols
// from symbols. A document that ends early gets empty groups for what is missing, is
// reported, and the batch goes on (but ends as Failed). The window's closing message
// ("Fertig") ends the report only when showDone is set; the command line has its own words.
BatchResult BatchConvertFolder(const std::string& folder, const CTundrelDoc& symbols,
                               bool showDone = true);

// "Name;" then 32 × "-;f1;f2;f3;len;" and a line feed.
std::string BatchHeaderLine();

// Appends one document's line bodies (after "Name;") to the four tables' texts, in output
// index order. Returns false when the document ended early; its lines are still complete.
bool ConvertDocument(VowReader& reader, const CTundrelDoc& symbols,
                     std::string (&lines)[kBatchOutputCount]);
