// What an operation that leaves showing to its caller tells it: success, and the messages.
#pragma once

#include "base/MessageBox.h"

#include <string>
#include <vector>

// Whether an operation did what it was asked, and the messages for the user in the order
// they arose, as values (text, caption, icon). The operation decides what to say; its
// caller decides how the user sees it (ShowReport, or anything else).
class [[nodiscard]] Report {
public:
    bool Ok() const { return !m_bFailed; }
    // Memory ran out: the caller shows the messages and carries the end up to main, which
    // ends the program with kReportEndsProcessStatus.
    bool EndsProcess() const { return m_bEndsProcess; }
    const std::vector<MessageRequest>& Messages() const { return m_messages; }
    // The texts of the messages, one per line, for callers that print rather than show.
    std::string Text() const;

    // A message that does not stop the operation, such as a warning.
    void Note(const std::string& text, const std::string& caption, MsgIcon icon);
    // The same, unless this text with this caption is already in the report: for a
    // condition met again and again within one operation (at every sample of a run).
    void NoteOnce(const std::string& text, const std::string& caption, MsgIcon icon);
    // The operation failed without anything to tell.
    void Fail();
    // The operation failed, and this is what the user is told.
    void Fail(const std::string& text, const std::string& caption, MsgIcon icon);
    // Memory ran out; the process cannot go on.
    void FailForGood(const std::string& text, const std::string& caption, MsgIcon icon);
    // Adds what a part of the operation reported, after what is here.
    void Append(const Report& part);

private:
    std::vector<MessageRequest> m_messages;
    bool m_bFailed = false;
    bool m_bEndsProcess = false;
};

// The exit status of a program that ends because of a report (memory ran out).
constexpr int kReportEndsProcessStatus = 1;

// Shows the report's messages one after the other through the installed message sink.
// Showing never ends the process, not even for a report that EndsProcess.
void ShowReport(const Report& report);
