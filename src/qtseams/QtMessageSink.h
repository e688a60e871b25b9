// The window's message boxes behind the program's message seam.
#pragma once

#include "base/MessageBox.h"

#include <QPointer>
#include <QWidget>

// Shows each message as a modal QMessageBox owned by the main window.
class QtMessageSink : public IMessageSink {
public:
    MsgAnswer Show(const MessageRequest& request) override;
    void SetParent(QWidget* parent) { m_parent = parent; }

private:
    QPointer<QWidget> m_parent;
};
