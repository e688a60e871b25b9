// The one seam through which every message box of the program goes.
#pragma once

#include <string>
#include <vector>

enum class MsgIcon { Information, Warning, Error, Question };
enum class MsgButtons { Ok, YesNo, YesNoCancel };
enum class MsgAnswer { Ok, Yes, No, Cancel };

// One message box as the program asked for it.
struct MessageRequest {
    std::string caption;
    std::string text;
    MsgIcon icon = MsgIcon::Information;
    MsgButtons buttons = MsgButtons::Ok;
};

// Shows a message and returns the user's answer; the window, the command line and the
// tests each install their own.
class IMessageSink {
public:
    virtual ~IMessageSink() = default;
    virtual MsgAnswer Show(const MessageRequest& request) = 0;
};

// Installs the sink used from now on; nullptr restores the default (stderr) sink.
// The caller keeps ownership.
void SetMessageSink(IMessageSink* sink);
IMessageSink& GetMessageSink();

// Shows a message through the installed sink.
MsgAnswer ShowMessage(const std::string& text, const std::string& caption,
                      MsgIcon icon = MsgIcon::Information, MsgButtons buttons = MsgButtons::Ok);

// Prints "caption: text" to stderr and answers OK or Yes: for the command line.
class StderrMessageSink : public IMessageSink {
public:
    MsgAnswer Show(const MessageRequest& request) override;
};

// Records every message and answers from a script (then OK/Yes): for tests.
class RecordingMessageSink : public IMessageSink {
public:
    MsgAnswer Show(const MessageRequest& request) override;
    void QueueAnswer(MsgAnswer answer) { m_answers.push_back(answer); }
    const std::vector<MessageRequest>& Messages() const { return m_messages; }
    void Clear() { m_messages.clear(); }
    // Texts of all messages shown so far, in order.
    std::vector<std::string> Texts() const;

private:
    std::vector<MessageRequest> m_messages;
    std::vector<MsgAnswer> m_answers;
};

// Installs a sink for the lifetime of the guard and puts the previous one back after.
class ScopedMessageSink {
public:
    explicit ScopedMessageSink(IMessageSink* sink);
    ~ScopedMessageSink();
    ScopedMessageSink(const ScopedMessageSink&) = delete;
    ScopedMessageSink& operator=(const ScopedMessageSink&) = delete;

private:
    IMessageSink* m_previous;
};
