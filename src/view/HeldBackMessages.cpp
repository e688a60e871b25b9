#include "view/HeldBackMessages.h"

#include <QCoreApplication>
#include <QMetaObject>

HeldBackMessages::HeldBackMessages() : m_guard(this) {}

HeldBackMessages::~HeldBackMessages() {
    if (m_held.empty())
        return;
    // Shown through whichever sink is installed when the event loop gets to them.
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [held = std::move(m_held)] {
            for (const MessageRequest& request : held)
                ShowMessage(request.text, request.caption, request.icon, request.buttons);
        },
        Qt::QueuedConnection);
}

MsgAnswer HeldBackMessages::Show(const MessageRequest& request) {
    m_held.push_back(request);
    switch (request.buttons) {
    case MsgButtons::YesNo:
        return MsgAnswer::No;
    case MsgButtons::YesNoCancel:
        return MsgAnswer::Cancel;
    case MsgButtons::Ok:
        break;
    }
    return MsgAnswer::Ok;
}
