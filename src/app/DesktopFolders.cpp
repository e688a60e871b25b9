#include "app/DesktopFolders.h"

#include "base/Directories.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

namespace {

std::string Bytes(const QString& path) {
    return QFile::encodeName(QDir::cleanPath(path)).toStdString();
}

} // namespace

DesktopFolders FindDesktopFolders() {
    DesktopFolders folders;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    folders.documents =
        Bytes(!documents.isEmpty() && QDir(documents).exists() ? documents : QDir::homePath());
    const QString cache =
        QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) + "/quirnel";
    // A folder that cannot be made is reported when temp.wav cannot be written there.
    QDir().mkpath(cache);
    folders.cache = Bytes(cache);
    return folders;
}

void EnterDesktopFolders(const DesktopFolders& folders) {
    ChangeDirectory(folders.documents);
    g_strLogDir = folders.cache;
}
