// The toolkit's folder dialog behind the program's folder-chooser seam.
#pragma once

#include "base/FolderBrowser.h"

#include <QPointer>
#include <QWidget>

// Asks for a folder with the toolkit's folder dialog, the title in its caption.
class QtFolderChooser : public IFolderChooser {
public:
    bool ChooseFolder(const std::string& title, std::string& path) override;
    void SetParent(QWidget* parent) { m_parent = parent; }

private:
    QPointer<QWidget> m_parent;
};
