// Where the program looks for the data it ships with: the voices and the reference vowels.
#include "drawing/DataFolders.h"

#include "base/Directories.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <algorithm>

namespace {

std::string Bytes(const QString& path) {
    return QFile::encodeName(QDir::cleanPath(path)).toStdString();
}

} // namespace

std::vector<std::string> DataSearchFolders(const std::string& name) {
    const std::string start = g_strStartDir.empty() ? CurrentDirectory() : g_strStartDir;
    const QString sub = QString::fromStdString("/quirnel/" + name);
    std::vector<std::string> folders{start + "/" + name};
    for (const QString& data :
         QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation))
        folders.push_back(Bytes(data + sub));
    if (QCoreApplication::instance())
        folders.push_back(Bytes(QCoreApplication::applicationDirPath() + "/" +
                                QUIRNEL_DATA_FROM_BIN + "/" + QString::fromStdString(name)));
    std::vector<std::string> unique;
    for (const std::string& folder : folders)
        if (std::find(unique.begin(), unique.end(), folder) == unique.end())
            unique.push_back(folder);
    return unique;
}
