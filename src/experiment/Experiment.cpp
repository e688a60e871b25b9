#include "experiment/Experiment.h"

#include "base/FileError.h"
#include "base/SafeFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <sstream>

namespace {

constexpr size_t kLargestTextFile = 1 << 20;

std::string Trim(const std::string& text) {
    const size_t begin = text.find_first_not_of(" \t\r");
    if (begin == std::string::npos)
        return "";
    const size_t end = text.find_last_not_of(" \t\r");
    return text.substr(begin, end - begin + 1);
}

std::vector<std::string> SplitList(const std::string& text, char separator) {
    std::vector<std::string> items;
    std::string item;
    std::istringstream in(text);
    while (std::getline(in, item, separator))
        items.push_back(Trim(item));
    if (!text.empty() && text.back() == separator)
        items.push_back("");
    return items;
}

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

bool ParseInt(const std::string& text, long lowest, long highest, long& value) {
    if (text.empty())
        return false;
    errno = 0;
    char* end = nullptr;
    const long number = std::strtol(text.c_str(), &end, 10);
    if (*end != '\0' || errno == ERANGE || number < lowest || number > highest)
        return false;
    value = number;
    return true;
}

bool ParseNumber(const std::string& text, double& value) {
    if (text.empty())
        return true; // an empty formant: not known
    char* end = nullptr;
    value = std::strtod(text.c_str(), &end);
    return *end == '\0' && value >= 0 && value < 1e6;
}

std::string Escape(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\\')
            out += "\\\\";
        else if (c == '\n')
            out += "\\n";
        else
            out += c;
    }
    return out;
}

std::string Unescape(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size()) {
            ++i;
            out += text[i] == 'n' ? '\n' : text[i];
        } else {
            out += text[i];
        }
    }
    return out;
}

// What a line of a section says, and where.
struct Entry {
    int line;
    std::string key;
    std::string value;
};

using Setter = std::function<std::string(const std::string& value)>;

// "must be a whole number from LOW to HIGH"
Setter IntSetter(int& target, long lowest, long highest) {
    return [&target, lowest, highest](const std::string& value) -> std::string {
        long number = 0;
        if (!ParseInt(value, lowest, highest, number))
            return "must be a whole number from " + std::to_string(lowest) + " to " +
                   std::to_string(highest);
        target = static_cast<int>(number);
        return "";
    };
}

} // namespace

namespace {

// Why the manifest cannot be read; "" when it was.
std::string ManifestProblem(const std::string& path, std::vector<Stimulus>& stimuli) {
    std::string text;
    if (const int error = ReadWholeFile(path, text, kLargestTextFile))
        return "Can't read the continuum manifest " + path + ": " + FileErrorReason(error) + ".";
    std::istringstream in(text);
    std::string line;
    int number = 0;
    std::vector<Stimulus> read;
    int stepColumn = -1, fileColumn = -1, f1Column = -1, f2Column = -1;
    size_t columns = 0;
    while (std::getline(in, line)) {
        ++number;
        if (Trim(line).empty())
            continue;
        const std::vector<std::string> fields = SplitList(Trim(line), ',');
        const std::string where = path + ", line " + std::to_string(number) + ": ";
        if (stepColumn < 0) {
            for (size_t i = 0; i < fields.size(); ++i) {
                const int column = static_cast<int>(i);
                if (fields[i] == "step")
                    stepColumn = column;
                else if (fields[i] == "file")
                    fileColumn = column;
                else if (fields[i] == "f1_hz")
                    f1Column = column;
                else if (fields[i] == "f2_hz")
                    f2Column = column;
            }
            if (stepColumn < 0 || fileColumn < 0)
                return where + "a continuum manifest begins with a header that names the "
                               "columns step and file.";
            columns = fields.size();
            continue;
        }
        if (fields.size() != columns)
            return where + "expected " + std::to_string(columns) + " fields, found " +
                   std::to_string(fields.size()) + ".";
        Stimulus stimulus;
        long step = 0;
        if (!ParseInt(fields[stepColumn], 1, 1000, step) ||
            (!read.empty() && step <= read.back().step))
            return where + "the step \"" + fields[stepColumn] +
                   "\" must be a whole number above the one before.";
        stimulus.step = static_cast<int>(step);
        stimulus.file = fields[fileColumn];
        if (stimulus.file.empty())
            return where + "the file name is empty.";
        if ((f1Column >= 0 && !ParseNumber(fields[f1Column], stimulus.f1Hz)) ||
            (f2Column >= 0 && !ParseNumber(fields[f2Column], stimulus.f2Hz)))
            return where + "F1 and F2 must be frequencies in Hz.";
        read.push_back(stimulus);
    }
    if (read.size() < 2)
        return path + ": a continuum needs at least two steps.";
    stimuli = std::move(read);
    return "";
}

// Why the text is no test; "" when it was read.
std::string ExperimentProblem(const std::string& text, const std::string& folder,
                              Experiment& experiment) {
    Experiment parsed;
    parsed.soundFolder = folder;
    std::vector<Entry> test, stimuli;
    std::vector<Entry>* section = nullptr;
    std::istringstream in(text);
    std::string raw;
    int number = 0;
    while (std::getline(in, raw)) {
        ++number;
        const std::string line = Trim(raw);
        const std::string where = "line " + std::to_string(number) + ": ";
        if (line.empty() || line[0] == '#' || line[0] == ';')
            continue;
        if (line[0] == '[') {
            const std::string name = Lower(Trim(line.substr(1, line.find(']') - 1)));
            if (line.back() != ']' || (name != "test" && name != "stimuli"))
                return where + "unknown section " + line + " (a test file has [test] and " +
                       "[stimuli]).";
            section = name == "test" ? &test : &stimuli;
            continue;
        }
        const size_t equals = line.find('=');
        if (equals == std::string::npos)
            return where + "expected KEY = VALUE, found \"" + line + "\".";
        if (!section)
            return where + "\"" + Trim(line.substr(0, equals)) +
                   "\" comes before any section ([test] or [stimuli]).";
        section->push_back({number, Lower(Trim(line.substr(0, equals))),
                            Trim(Unescape(Trim(line.substr(equals + 1))))});
    }

    std::vector<std::pair<std::string, Setter>> setters = {
        {"title", [&](const std::string& v) { return parsed.title = v, std::string(); }},
        {"task",
         [&](const std::string& v) -> std::string {
             if (Lower(v) == "identification")
                 parsed.task = TestTask::Identification;
             else if (Lower(v) == "discrimination")
                 parsed.task = TestTask::Discrimination;
             else
                 return "must be identification or discrimination";
             return "";
         }},
        {"labels",
         [&](const std::string& v) -> std::string {
             std::vector<std::string> labels = SplitList(v, ',');
             if (labels.size() < kFewestLabels || labels.size() > kMostLabels)
                 return "must list 2 to 8 labels separated by commas";
             for (size_t i = 0; i < labels.size(); ++i) {
                 if (labels[i].empty())
                     return "must not hold an empty label";
                 if (std::find(labels.begin(), labels.begin() + i, labels[i]) != labels.begin() + i)
                     return "names \"" + labels[i] + "\" twice";
             }
             parsed.labels = labels;
             return "";
         }},
        {"rating",
         [&](const std::string& v) -> std::string {
             if (Lower(v) == "yes" || v == "1" || Lower(v) == "true")
                 parsed.rating = true;
             else if (Lower(v) == "no" || v == "0" || Lower(v) == "false")
                 parsed.rating = false;
             else
                 return "must be yes or no";
             return "";
         }},
        {"discrimination",
         [&](const std::string& v) -> std::string {
             if (Lower(v) == "ax")
                 parsed.kind = DiscriminationKind::AX;
             else if (Lower(v) == "abx")
                 parsed.kind = DiscriminationKind::ABX;
             else
                 return "must be AX or ABX";
             return "";
         }},
        {"pair_steps",
         [&](const std::string& v) -> std::string {
             std::vector<int> distances;
             for (const std::string& item : SplitList(v, ',')) {
                 long distance = 0;
                 if (!ParseInt(item, 1, 2, distance) ||
                     std::find(distances.begin(), distances.end(), distance) != distances.end())
                     return "must be 1, 2 or 1,2";
                 distances.push_back(static_cast<int>(distance));
             }
             if (distances.empty())
                 return "must be 1, 2 or 1,2";
             parsed.pairDistances = distances;
             return "";
         }},
        {"isi_ms", IntSetter(parsed.isiMs, 0, kLongestPauseMs)},
        {"repetitions", IntSetter(parsed.repetitions, 1, kMostRepetitions)},
        {"order",
         [&](const std::string& v) -> std::string {
             if (Lower(v) == "balanced")
                 parsed.order = TrialOrder::Balanced;
             else if (Lower(v) == "cyclic")
                 parsed.order = TrialOrder::Cyclic;
             else if (Lower(v) == "random")
                 parsed.order = TrialOrder::Random;
             else
                 return "must be balanced, cyclic or random";
             return "";
         }},
        {"seed",
         [&](const std::string& v) -> std::string {
             char* end = nullptr;
             errno = 0;
             const unsigned long long seed = std::strtoull(v.c_str(), &end, 10);
             if (v.empty() || v[0] == '-' || *end != '\0' || errno == ERANGE)
                 return "must be a whole number (0: from the participant code)";
             parsed.seed = seed;
             return "";
         }},
        {"practice", IntSetter(parsed.practiceRepetitions, 0, kMostRepetitions)},
        {"replays", IntSetter(parsed.replays, 0, kMostReplays)},
        {"iti_ms", IntSetter(parsed.itiMs, 0, kLongestPauseMs)},
        {"break_every", IntSetter(parsed.breakEvery, 0, 100000)},
        {"instructions",
         [&](const std::string& v) { return parsed.instructions = v, std::string(); }},
        {"participant",
         [&](const std::string& v) { return parsed.participant = v, std::string(); }},
    };
    std::vector<std::string> seen;
    for (const Entry& entry : test) {
        const std::string where = "line " + std::to_string(entry.line) + ": ";
        auto setter = std::find_if(setters.begin(), setters.end(),
                                   [&](const auto& s) { return s.first == entry.key; });
        if (setter == setters.end())
            return where + "unknown key \"" + entry.key + "\" in [test].";
        if (std::find(seen.begin(), seen.end(), entry.key) != seen.end())
            return where + "\"" + entry.key + "\" is given twice.";
        seen.push_back(entry.key);
        const std::string problem = setter->second(entry.value);
        if (!problem.empty())
            return where + entry.key + " " + problem + ", not \"" + entry.value + "\".";
    }

    for (const Entry& entry : stimuli) {
        const std::string where = "line " + std::to_string(entry.line) + ": ";
        if (entry.key == "manifest") {
            if (!parsed.manifest.empty() || !parsed.stimuli.empty())
                return where + "[stimuli] takes one manifest or a list of files, not both.";
            if (entry.value.empty())
                return where + "manifest names no file.";
            parsed.manifest = entry.value;
            const std::filesystem::path manifest =
                std::filesystem::path(folder) / std::filesystem::path(entry.value);
            const std::string problem = ManifestProblem(manifest.string(), parsed.stimuli);
            if (!problem.empty())
                return where + problem;
            parsed.soundFolder = manifest.parent_path().string();
        } else if (entry.key == "file") {
            if (!parsed.manifest.empty())
                return where + "[stimuli] takes one manifest or a list of files, not both.";
            if (entry.value.empty())
                return where + "file names no file.";
            Stimulus stimulus;
            stimulus.step = static_cast<int>(parsed.stimuli.size()) + 1;
            stimulus.file = entry.value;
            parsed.stimuli.push_back(stimulus);
        } else {
            return where + "unknown key \"" + entry.key + "\" in [stimuli] (manifest or file).";
        }
    }
    const std::string problem = CheckExperiment(parsed);
    if (!problem.empty())
        return problem;
    experiment = std::move(parsed);
    return "";
}

// Why the file is no test; "" when it was read.
std::string ExperimentFileProblem(const std::string& path, Experiment& experiment) {
    std::string text;
    if (const int error = ReadWholeFile(path, text, kLargestTextFile))
        return "Can't read the test " + path + ": " + FileErrorReason(error) + ".";
    const std::string folder = std::filesystem::path(path).parent_path().string();
    const std::string problem = ExperimentProblem(text, folder.empty() ? "." : folder, experiment);
    return problem.empty() ? "" : path + ", " + problem;
}

// A report that fails with problem, unless problem is empty.
Report ListeningTestReport(const std::string& problem) {
    Report report;
    if (!problem.empty())
        report.Fail(problem, "Listening Test", MsgIcon::Warning);
    return report;
}

} // namespace

Report ReadContinuumManifest(const std::string& path, std::vector<Stimulus>& stimuli) {
    return ListeningTestReport(ManifestProblem(path, stimuli));
}

Report ParseExperiment(const std::string& text, const std::string& folder, Experiment& experiment) {
    return ListeningTestReport(ExperimentProblem(text, folder, experiment));
}

Report ReadExperimentFile(const std::string& path, Experiment& experiment) {
    return ListeningTestReport(ExperimentFileProblem(path, experiment));
}

std::string CheckExperiment(const Experiment& experiment) {
    if (experiment.stimuli.size() < 2)
        return "The test needs at least two stimuli ([stimuli] with a manifest or file lines).";
    if (experiment.task == TestTask::Discrimination) {
        const int span = experiment.stimuli.back().step - experiment.stimuli.front().step;
        for (int distance : experiment.pairDistances) {
            if (distance > span)
                return "The stimuli are too few for pairs " + std::to_string(distance) +
                       " steps apart.";
        }
    }
    return "";
}

std::string ExperimentText(const Experiment& e) {
    std::ostringstream out;
    out << "# A listening test made with Quirnel.\n[test]\n";
    if (!e.title.empty())
        out << "title = " << Escape(e.title) << "\n";
    out << "task = " << (e.task == TestTask::Identification ? "identification" : "discrimination")
        << "\n";
    if (e.task == TestTask::Identification) {
        out << "labels = ";
        for (size_t i = 0; i < e.labels.size(); ++i)
            out << (i ? ", " : "") << Escape(e.labels[i]);
        out << "\nrating = " << (e.rating ? "yes" : "no") << "\n";
    } else {
        out << "discrimination = " << (e.kind == DiscriminationKind::AX ? "AX" : "ABX") << "\n";
        out << "pair_steps = ";
        for (size_t i = 0; i < e.pairDistances.size(); ++i)
            out << (i ? "," : "") << e.pairDistances[i];
        out << "\nisi_ms = " << e.isiMs << "\n";
    }
    out << "repetitions = " << e.repetitions << "\n";
    out << "order = "
        << (e.order == TrialOrder::Balanced ? "balanced"
            : e.order == TrialOrder::Cyclic ? "cyclic"
                                            : "random")
        << "\n";
    if (e.seed)
        out << "seed = " << e.seed << "\n";
    out << "practice = " << e.practiceRepetitions << "\n";
    out << "replays = " << e.replays << "\n";
    out << "iti_ms = " << e.itiMs << "\n";
    out << "break_every = " << e.breakEvery << "\n";
    if (!e.instructions.empty())
        out << "instructions = " << Escape(e.instructions) << "\n";
    if (!e.participant.empty())
        out << "participant = " << Escape(e.participant) << "\n";
    out << "\n[stimuli]\n";
    if (!e.manifest.empty()) {
        out << "manifest = " << Escape(e.manifest) << "\n";
    } else {
        for (const Stimulus& stimulus : e.stimuli)
            out << "file = " << Escape(stimulus.file) << "\n";
    }
    return out.str();
}

uint64_t OrderSeed(const Experiment& experiment) {
    if (experiment.seed)
        return experiment.seed;
    // FNV-1a of the participant code: stable across runs and machines.
    uint64_t hash = 14695981039346656037ull;
    for (unsigned char c : experiment.participant) {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    return hash;
}
