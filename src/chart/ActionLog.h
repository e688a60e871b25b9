// The action log: what the chart selects, plays, stores and resets, one line each.
#pragma once

#include <cstdio>
#include <string>

// Writes the log to a file the user names: lines end in CR LF, no header, no time stamps;
// nothing is flushed until the log stops. While it is off every line is dropped.
class ActionLog {
public:
    ActionLog() = default;
    ~ActionLog();
    ActionLog(const ActionLog&) = delete;
    ActionLog& operator=(const ActionLog&) = delete;

    // Creates the file (emptying one of that name) and starts logging; false when the file
    // cannot be created, and the log stays off.
    bool Start(const std::string& path);
    // Closes the file; the log is off.
    void Stop();
    bool IsOn() const { return m_file != nullptr; }

    // "Vowel selected: " and the list entry's bytes (the symbol, then the mark of a stored
    // vowel).
    void VowelSelected(const std::string& listEntry);
    // "F1;F2;F3" of a point that is played.
    void Formants(int f1, int f2, int f3);
    // "Saved": the point is stored into the selected vowel.
    void Saved();
    // "Init": the selected vowel is back at its preset.
    void Reset();

private:
    void WriteLine(const std::string& line);

    std::FILE* m_file = nullptr;
};
