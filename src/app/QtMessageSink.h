// Message boxes and the folder chooser of the window, installed at start.
#pragma once

#include "base/FolderBrowser.h"
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

// Asks for a folder with the toolkit's folder dialog, the title in its caption.
class QtFolderChooser : public IFolderChooser {
public:
    bool ChooseFolder(const std::string& title, std::string& path) override;
    void SetParent(QWidget* parent) { m_parent = parent; }

private:
    QPointer<QWidget> m_parent;
};
