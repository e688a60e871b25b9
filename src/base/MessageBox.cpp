#include "base/MessageBox.h"

#include <cstdio>

namespace {

IMessageSink* g_installedSink = nullptr;

MsgAnswer DefaultAnswer(MsgButtons buttons) {
    return buttons == MsgButtons::Ok ? MsgAnswer::Ok : MsgAnswer::Yes;
}

} // namespace

void SetMessageSink(IMessageSink* sink) {
    g_installedSink = sink;
}

IMessageSink& GetMessageSink() {
    static StderrMessageSink fallback;
    return g_installedSink ? *g_installedSink : fallback;
}

MsgAnswer ShowMessage(const std::string& text, const std::string& caption, MsgIcon icon,
                      MsgButtons buttons) {
    return GetMessageSink().Show(MessageRequest{caption, text, icon, buttons});
}

MsgAnswer StderrMessageSink::Show(const MessageRequest& request) {
    std::fprintf(stderr, "%s: %s\n", request.caption.c_str(), request.text.c_str());
    return DefaultAnswer(request.buttons);
}

MsgAnswer RecordingMessageSink::Show(const MessageRequest& request) {
    m_messages.push_back(request);
    if (m_answers.empty())
        return DefaultAnswer(request.buttons);
    MsgAnswer answer = m_answers.front();
    m_answers.erase(m_answers.begin());
    return answer;
}

std::vector<std::string> RecordingMessageSink::Texts() const {
    std::vector<std::string> texts;
    for (const auto& message : m_messages)
        texts.push_back(message.text);
    return texts;
}

ScopedMessageSink::ScopedMessageSink(IMessageSink* sink) : m_previous(g_installedSink) {
    SetMessageSink(sink);
}

ScopedMessageSink::~ScopedMessageSink() {
    SetMessageSink(m_previous);
}
