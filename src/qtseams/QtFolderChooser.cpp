#include "qtseams/QtFolderChooser.h"

#include <QFile>
#include <QFileDialog>

bool QtFolderChooser::ChooseFolder(const std::string& title, std::string& path) {
    const QString chosen = QFileDialog::getExistingDirectory(
        m_parent.data(), QString::fromStdString(title),
        QFile::decodeName(QByteArray::fromStdString(path)), QFileDialog::ShowDirsOnly);
    if (chosen.isEmpty())
        return false;
    path = QFile::encodeName(chosen).toStdString();
    return true;
}
