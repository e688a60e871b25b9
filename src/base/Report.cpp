#include "base/Report.h"

#include <algorithm>

void Report::Note(const std::string& text, const std::string& caption, MsgIcon icon) {
    m_messages.push_back(MessageRequest{caption, text, icon, MsgButtons::Ok});
}

void Report::NoteOnce(const std::string& text, const std::string& caption, MsgIcon icon) {
    const bool known =
        std::any_of(m_messages.begin(), m_messages.end(), [&](const MessageRequest& message) {
            return message.text == text && message.caption == caption;
        });
    if (!known)
        Note(text, caption, icon);
}

void Report::Fail() {
    m_bFailed = true;
}

void Report::Fail(const std::string& text, const std::string& caption, MsgIcon icon) {
    Note(text, caption, icon);
    m_bFailed = true;
}

void Report::FailForGood(const std::string& text, const std::string& caption, MsgIcon icon) {
    Fail(text, caption, icon);
    m_bEndsProcess = true;
}

void Report::Append(const Report& part) {
    m_messages.insert(m_messages.end(), part.m_messages.begin(), part.m_messages.end());
    m_bFailed = m_bFailed || part.m_bFailed;
    m_bEndsProcess = m_bEndsProcess || part.m_bEndsProcess;
}

void ShowReport(const Report& report) {
    for (const MessageRequest& message : report.Messages())
        ShowMessage(message.text, message.caption, message.icon, message.buttons);
}

std::string Report::Text() const {
    std::string text;
    for (const MessageRequest& message : m_messages)
        text += (text.empty() ? "" : "\n") + message.text;
    return text;
}
