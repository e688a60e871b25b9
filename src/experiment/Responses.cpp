#include "experiment/Responses.h"

#include "base/FileError.h"
#include "base/SafeFile.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <sstream>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

const char* const kResponsesHeader =
    "participant,block,trial,task,step,file,f1_hz,f2_hz,response,rating,correct,rt_ms,"
    "replays,time";

namespace {

constexpr int kResponseColumns = 14;
constexpr size_t kLargestResponsesFile = 64u << 20;

// Splits a CSV line (fields may be quoted, with "" for a quote). False on an open quote.
bool SplitCsv(const std::string& line, std::vector<std::string>& fields) {
    fields.assign(1, "");
    bool quoted = false;
    for (size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted) {
            if (c == '"' && i + 1 < line.size() && line[i + 1] == '"')
                fields.back() += '"', ++i;
            else if (c == '"')
                quoted = false;
            else
                fields.back() += c;
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            fields.emplace_back();
        } else if (c != '\r') {
            fields.back() += c;
        }
    }
    return !quoted;
}

bool ToInt(const std::string& text, int lowest, int highest, int& value) {
    char* end = nullptr;
    errno = 0;
    const long number = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || errno == ERANGE || number < lowest || number > highest)
        return false;
    value = static_cast<int>(number);
    return true;
}

std::string JoinSounds(const Experiment& e, const Trial& trial,
                       std::string (*field)(const Stimulus&)) {
    std::string out;
    for (size_t i = 0; i < trial.sounds.size(); ++i)
        out += (i ? ";" : "") + field(e.stimuli[trial.sounds[i]]);
    return out;
}

std::string Hz(double hz) {
    if (hz <= 0)
        return "";
    char text[32];
    std::snprintf(text, sizeof text, "%g", std::round(hz * 10) / 10);
    return text;
}

} // namespace

std::string ResponseRow(const Response& r) {
    char rt[32];
    std::snprintf(rt, sizeof rt, "%.1f", r.rtMs);
    return CsvField(r.participant) + "," + r.block + "," + std::to_string(r.trial) + "," + r.task +
           "," + r.step + "," + CsvField(r.file) + "," + r.f1Hz + "," + r.f2Hz + "," +
           CsvField(r.response) + "," + (r.rating ? std::to_string(r.rating) : "") + "," +
           (r.correct < 0 ? "" : std::to_string(r.correct)) + "," + rt + "," +
           std::to_string(r.replays) + "," + r.time + "\n";
}

namespace {

// Why the text is no responses file; "" when it was read.
std::string ResponsesProblem(const std::string& text, std::vector<Response>& responses) {
    std::istringstream in(text);
    std::string line;
    int number = 0;
    std::vector<Response> read;
    std::vector<std::string> f;
    while (std::getline(in, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const std::string where = "line " + std::to_string(number) + ": ";
        if (number == 1) {
            if (line != kResponsesHeader)
                return where + "a responses file begins with the header " + kResponsesHeader + ".";
            continue;
        }
        if (line.empty())
            continue;
        if (!SplitCsv(line, f))
            return where + "a quoted field is not closed.";
        if (f.size() != kResponseColumns)
            return where + "expected 14 fields, found " + std::to_string(f.size()) + ".";
        Response r;
        r.participant = f[0];
        r.block = f[1];
        r.task = f[3];
        r.step = f[4];
        r.file = f[5];
        r.f1Hz = f[6];
        r.f2Hz = f[7];
        r.response = f[8];
        r.time = f[13];
        if (r.block != "practice" && r.block != "test")
            return where + "block must be practice or test, not \"" + r.block + "\".";
        if (r.task != "identification" && r.task != "AX" && r.task != "ABX")
            return where + "task must be identification, AX or ABX, not \"" + r.task + "\".";
        if (!ToInt(f[2], 1, 1000000, r.trial))
            return where + "trial must be a whole number from 1, not \"" + f[2] + "\".";
        if (!f[9].empty() && !ToInt(f[9], kLowestRating, kHighestRating, r.rating))
            return where + "rating must be empty or 1 to 7, not \"" + f[9] + "\".";
        if (!f[10].empty() && !ToInt(f[10], 0, 1, r.correct))
            return where + "correct must be empty, 0 or 1, not \"" + f[10] + "\".";
        if (!ToInt(f[12], 0, kMostReplays, r.replays))
            return where + "replays must be 0 to 3, not \"" + f[12] + "\".";
        char* end = nullptr;
        r.rtMs = std::strtod(f[11].c_str(), &end);
        if (f[11].empty() || *end != '\0' || !std::isfinite(r.rtMs))
            return where + "rt_ms must be a number, not \"" + f[11] + "\".";
        if (r.task == "identification") {
            int step = 0;
            if (!ToInt(r.step, 1, 1000, step))
                return where + "step must be a whole number from 1, not \"" + r.step + "\".";
        }
        read.push_back(r);
    }
    if (number == 0)
        return "the file is empty (no header " + std::string(kResponsesHeader) + ").";
    responses = std::move(read);
    return "";
}

// A report that fails with problem, unless problem is empty.
Report ResponsesReport(const std::string& problem) {
    Report report;
    if (!problem.empty())
        report.Fail(problem, "Test Results", MsgIcon::Warning);
    return report;
}

} // namespace

Report ParseResponses(const std::string& text, std::vector<Response>& responses) {
    return ResponsesReport(ResponsesProblem(text, responses));
}

Report ReadResponses(const std::string& path, std::vector<Response>& responses) {
    std::string text;
    if (const int error = ReadWholeFile(path, text, kLargestResponsesFile))
        return ResponsesReport("Can't read the responses " + path + ": " + FileErrorReason(error) +
                               ".");
    const std::string problem = ResponsesProblem(text, responses);
    return ResponsesReport(problem.empty() ? "" : path + ", " + problem);
}

std::string ResponseTimeNow() {
    timeval now{};
    gettimeofday(&now, nullptr);
    std::tm utc{};
    gmtime_r(&now.tv_sec, &utc);
    char text[40];
    const size_t length = std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &utc);
    std::snprintf(text + length, sizeof text - length, ".%03dZ",
                  static_cast<int>(now.tv_usec / 1000));
    return text;
}

ListeningSession::~ListeningSession() {
    if (m_fd >= 0)
        close(m_fd);
}

Response ListeningSession::RowFor(const Trial& trial) const {
    const Experiment& e = m_experiment;
    Response r;
    r.participant = e.participant;
    r.block = trial.block == TrialBlock::Practice ? "practice" : "test";
    r.trial = trial.number;
    r.task = e.task == TestTask::Identification ? "identification"
             : e.kind == DiscriminationKind::AX ? "AX"
                                                : "ABX";
    r.step = JoinSounds(e, trial, [](const Stimulus& s) { return std::to_string(s.step); });
    r.file = JoinSounds(e, trial, [](const Stimulus& s) { return s.file; });
    r.f1Hz = JoinSounds(e, trial, [](const Stimulus& s) { return Hz(s.f1Hz); });
    r.f2Hz = JoinSounds(e, trial, [](const Stimulus& s) { return Hz(s.f2Hz); });
    if (r.f1Hz.find_first_not_of(';') == std::string::npos)
        r.f1Hz.clear();
    if (r.f2Hz.find_first_not_of(';') == std::string::npos)
        r.f2Hz.clear();
    return r;
}

std::string ListeningSession::Open(const Experiment& experiment, const std::string& path) {
    if (const std::string problem = CheckExperiment(experiment); !problem.empty())
        return problem;
    if (experiment.participant.empty())
        return "The session needs a participant code.";
    std::vector<Trial> trials = MakeTrials(experiment);
    size_t next = 0;
    struct stat status {};
    const bool exists = stat(path.c_str(), &status) == 0;
    if (exists && !S_ISREG(status.st_mode))
        return "Can't write the responses to " + path + ": " +
               FileErrorReason(S_ISDIR(status.st_mode) ? EISDIR : EINVAL) + ".";
    const bool fresh = !exists || status.st_size == 0;
    if (!fresh) {
        std::vector<Response> rows;
        if (const Report read = ReadResponses(path, rows); !read.Ok())
            return read.Text() + " Nothing was written to it.";
        m_experiment = experiment; // RowFor reads it
        for (const Response& row : rows) {
            if (row.participant != experiment.participant)
                continue;
            const Response expected = next < trials.size() ? RowFor(trials[next]) : Response{};
            if (next >= trials.size() || row.block != expected.block ||
                row.trial != expected.trial || row.step != expected.step ||
                row.task != expected.task)
                return "The responses " + path + " hold answers of " + experiment.participant +
                       " that do not fit this test (block " + row.block + ", trial " +
                       std::to_string(row.trial) +
                       "); use another file or another participant code.";
            ++next;
        }
    }
    const int fd = open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0)
        return "Can't write the responses to " + path + ": " + FileErrorReason(errno) + ".";
    if (fresh) {
        const std::string header = std::string(kResponsesHeader) + "\n";
        if (write(fd, header.data(), header.size()) != static_cast<ssize_t>(header.size()) ||
            fsync(fd) != 0) {
            const int error = errno;
            close(fd);
            return "Can't write the responses to " + path + ": " + FileErrorReason(error) + ".";
        }
    }
    if (m_fd >= 0)
        close(m_fd);
    m_fd = fd;
    m_path = path;
    m_experiment = experiment;
    m_trials = std::move(trials);
    m_next = next;
    return "";
}

int ListeningSession::DoneInBlock() const {
    if (Finished())
        return BlockLength();
    return Current().number - 1;
}

int ListeningSession::BlockLength() const {
    const TrialBlock block = Finished() ? TrialBlock::Test : Current().block;
    int length = 0;
    for (const Trial& trial : m_trials)
        length += trial.block == block;
    return length;
}

bool ListeningSession::BreakDue() const {
    if (Finished() || m_experiment.breakEvery <= 0 || Current().block != TrialBlock::Test)
        return false;
    const int done = Current().number - 1;
    return done > 0 && done % m_experiment.breakEvery == 0;
}

std::string ListeningSession::Answer(const std::string& response, int rating, double rtMs,
                                     int replays, const std::string& time) {
    if (Finished() || m_fd < 0)
        return "The session has no trial to answer.";
    const Trial& trial = Current();
    Response row = RowFor(trial);
    row.response = response;
    row.rating = rating;
    row.correct = trial.expected.empty() ? -1 : response == trial.expected ? 1 : 0;
    row.rtMs = rtMs;
    row.replays = replays;
    row.time = time;
    const std::string line = ResponseRow(row);
    // One write of the whole row (O_APPEND), then to the disk before the next trial.
    const ssize_t written = write(m_fd, line.data(), line.size());
    if (written != static_cast<ssize_t>(line.size()) || fsync(m_fd) != 0) {
        const int error =
            written < 0 || written == static_cast<ssize_t>(line.size()) ? errno : ENOSPC;
        return "Can't write the answer to " + m_path + ": " + FileErrorReason(error) +
               ". The trial stays on screen.";
    }
    ++m_next;
    return "";
}

std::string CsvField(const std::string& field) {
    if (field.find_first_of(",\"\n\r") == std::string::npos)
        return field;
    std::string out = "\"";
    for (char c : field)
        out += c == '"' ? std::string("\"\"") : std::string(1, c);
    return out + "\"";
}
