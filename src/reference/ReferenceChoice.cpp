// The reference vowels chosen for the chart: a bundled set or the user's own table, loaded.
#include "reference/ReferenceChoice.h"

#include "reference/ReferenceSet.h"
#include "reference/ReferenceTableReader.h"

#include <filesystem>

namespace {

std::string FileNameOf(const std::string& path) {
    return std::filesystem::path(path).filename().string();
}

// The first of folders that holds the set's file; "" when none does.
std::string FindSetFile(const ReferenceSet& set, const std::vector<std::string>& folders) {
    for (const std::string& folder : folders) {
        const std::string path = ReferenceSetPath(folder, set);
        std::error_code error;
        if (std::filesystem::is_regular_file(path, error))
            return path;
    }
    return std::string();
}

std::string FolderList(const std::vector<std::string>& folders) {
    std::string list;
    for (const std::string& folder : folders)
        list += (list.empty() ? "" : ", ") + folder;
    return list.empty() ? std::string("(no folder)") : list;
}

} // namespace

bool ReferenceChoice::IsUserTable() const {
    return FindReferenceSet(choice) == nullptr;
}

Report LoadReferenceChoice(const std::string& choice, const std::vector<std::string>& folders,
                           ReferenceChoice& loaded) {
    ReferenceChoice result;
    result.choice = choice;
    ReferenceTable table;
    std::string group;
    if (const ReferenceSet* set = FindReferenceSet(choice)) {
        const std::string path = FindSetFile(*set, folders);
        if (path.empty())
            return ReferenceProblem("Can't find the reference vowels " + set->fileName + " (" +
                                    set->label +
                                    ") in any of these folders: " + FolderList(folders) + ".");
        if (Report read = ReadReferenceTable(path, table); !read.Ok())
            return read;
        group = set->group;
        result.label = set->label;
        result.citation = set->citation;
    } else {
        if (Report read = ReadReferenceTable(choice, table); !read.Ok())
            return read;
        // The first group in the order of the file (a table holds at least one token).
        group = table.tokens.front().group;
        result.label = FileNameOf(choice) + (group.empty() ? "" : ": " + group);
        result.citation = choice;
    }
    result.vowels = ReferenceVowelsOf(table, group);
    if (result.vowels.empty())
        return ReferenceProblem("Can't show reference vowels from " + result.label +
                                ": the file holds no vowels of that group.");
    result.description = "Reference vowels: " + result.label + " (" + result.citation + ")";
    loaded = std::move(result);
    return Report();
}
