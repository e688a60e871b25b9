// Holds back the message boxes asked for while the chart paints, and shows them after.
#pragma once

#include "base/MessageBox.h"

#include <vector>

// While it lives, every message goes to it instead of the installed sink; when it ends it
// puts that sink back and hands the held messages to the event loop, which shows them
// once the paint under way is over. A box cannot open inside a paint: its own event loop
// would run while the view's painter is still active. A held message cannot be answered,
// so it gets the answer that changes nothing (OK, No or Cancel).
class HeldBackMessages : public IMessageSink {
public:
    HeldBackMessages();
    ~HeldBackMessages() override;
    HeldBackMessages(const HeldBackMessages&) = delete;
    HeldBackMessages& operator=(const HeldBackMessages&) = delete;

    MsgAnswer Show(const MessageRequest& request) override;

private:
    std::vector<MessageRequest> m_held;
    ScopedMessageSink m_guard;
};
