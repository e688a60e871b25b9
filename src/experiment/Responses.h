// The responses file of a listening test: one CSV row per trial, each on disk before the next
// trial starts, and the session that writes it and can be resumed from it.
#pragma once

#include "experiment/Experiment.h"
#include "experiment/TrialList.h"

#include <string>
#include <vector>

extern const char* const kResponsesHeader;

// One row. Identification rows have one step; discrimination rows name the steps, files
// and formants of their sounds joined with ';' ("3;4").
struct Response {
    std::string participant;
    std::string block; // "practice" or "test"
    int trial = 0;
    std::string task; // "identification", "AX" or "ABX"
    std::string step;
    std::string file;
    std::string f1Hz;
    std::string f2Hz;
    std::string response;
    int rating = 0;   // 0: none
    int correct = -1; // -1: not a question of right or wrong (identification)
    double rtMs = 0;  // from the start of the (last) sound to the answer
    int replays = 0;
    std::string time; // UTC, ISO 8601
};

std::string ResponseRow(const Response& response); // with its line end

// Reads a responses file. On a failure the report says why, naming the line (caption
// "Test Results").
Report ReadResponses(const std::string& path, std::vector<Response>& responses);
Report ParseResponses(const std::string& text, std::vector<Response>& responses);

// The current time as the time column writes it.
std::string ResponseTimeNow();

// A listening session: the trial list and the responses file it fills. Each answer is
// appended to the file and flushed to disk (fsync) before Answer returns, so a crash loses
// at most the trial on screen. Opening a file that already holds this participant's answers
// resumes after the last of them (the trial list is drawn again from the same seed).
class ListeningSession {
public:
    // "" on success, otherwise why the file cannot be used (it is left as it was).
    std::string Open(const Experiment& experiment, const std::string& responsesPath);
    ~ListeningSession();

    const Experiment& Test() const { return m_experiment; }
    const std::vector<Trial>& Trials() const { return m_trials; }
    bool Finished() const { return m_next >= m_trials.size(); }
    size_t NextIndex() const { return m_next; }
    // The trial to play now (only when not Finished).
    const Trial& Current() const { return m_trials[m_next]; }
    // Trials answered so far in the current block, and the block's length.
    int DoneInBlock() const;
    int BlockLength() const;
    // Whether the listener gets a break before the current trial.
    bool BreakDue() const;

    // Writes the answer to the current trial and moves on. rating 0: none. "" on success;
    // otherwise why, and the session stays on this trial.
    std::string Answer(const std::string& response, int rating, double rtMs, int replays,
                       const std::string& time = ResponseTimeNow());

private:
    Response RowFor(const Trial& trial) const;

    Experiment m_experiment;
    std::vector<Trial> m_trials;
    size_t m_next = 0;
    int m_fd = -1;
    std::string m_path;
};

// A CSV field as written: quoted, with its quotes doubled, when it holds a comma, a quote or
// a line break.
std::string CsvField(const std::string& field);
