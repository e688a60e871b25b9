#include "app/FileDialogs.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>

namespace {

IFileDialogs* g_installedDialogs = nullptr;

FileChoice RunDialog(QFileDialog& dialog) {
    FileChoice choice;
    choice.accepted = dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty();
    if (choice.accepted)
        choice.path = dialog.selectedFiles().front().toStdString();
    choice.folder = QDir::cleanPath(dialog.directory().absolutePath()).toStdString();
    return choice;
}

} // namespace

void SetFileDialogs(IFileDialogs* dialogs) {
    g_installedDialogs = dialogs;
}

IFileDialogs& GetFileDialogs() {
    static QtFileDialogs fallback;
    return g_installedDialogs ? *g_installedDialogs : fallback;
}

FileChoice QtFileDialogs::OpenFile(const std::string& title, const std::string& folder,
                                   const std::string& filters) {
    QFileDialog dialog(QApplication::activeWindow(), QString::fromStdString(title),
                       QString::fromStdString(folder), QString::fromStdString(filters));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    return RunDialog(dialog);
}

FileChoice QtFileDialogs::SaveFile(const std::string& title, const std::string& folder,
                                   const std::string& name, const std::string& filters,
                                   const std::string& defaultSuffix) {
    QFileDialog dialog(QApplication::activeWindow(), QString::fromStdString(title),
                       QString::fromStdString(folder), QString::fromStdString(filters));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QString::fromStdString(defaultSuffix));
    dialog.selectFile(QString::fromStdString(name));
    return RunDialog(dialog);
}
