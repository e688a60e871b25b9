#include "qtseams/QtFileDialogs.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>

#include <memory>

namespace {

FileChoice RunDialog(QFileDialog& dialog) {
    FileChoice choice;
    choice.accepted = dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty();
    if (choice.accepted) {
        for (const QString& file : dialog.selectedFiles())
            choice.paths.push_back(file.toStdString());
        choice.path = choice.paths.front();
    }
    choice.folder = QDir::cleanPath(dialog.directory().absolutePath()).toStdString();
    return choice;
}

QFileDialog* NewDialog(const std::string& title, const std::string& folder,
                       const std::string& filters) {
    auto* dialog = new QFileDialog(QApplication::activeWindow(), QString::fromStdString(title),
                                   QString::fromStdString(folder), QString::fromStdString(filters));
    dialog->setAttribute(Qt::WA_DeleteOnClose, false);
    return dialog;
}

FileChoice RunOpenDialog(const std::string& title, const std::string& folder,
                         const std::string& filters, QFileDialog::FileMode mode) {
    std::unique_ptr<QFileDialog> dialog(NewDialog(title, folder, filters));
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setFileMode(mode);
    return RunDialog(*dialog);
}

} // namespace

FileChoice QtFileDialogs::OpenFile(const std::string& title, const std::string& folder,
                                   const std::string& filters) {
    return RunOpenDialog(title, folder, filters, QFileDialog::ExistingFile);
}

FileChoice QtFileDialogs::OpenFiles(const std::string& title, const std::string& folder,
                                    const std::string& filters) {
    return RunOpenDialog(title, folder, filters, QFileDialog::ExistingFiles);
}

FileChoice QtFileDialogs::SaveFile(const std::string& title, const std::string& folder,
                                   const std::string& name, const std::string& filters,
                                   const std::string& defaultSuffix) {
    std::unique_ptr<QFileDialog> dialog(NewDialog(title, folder, filters));
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
    dialog->setDefaultSuffix(QString::fromStdString(defaultSuffix));
    dialog->selectFile(QString::fromStdString(name));
    return RunDialog(*dialog);
}
