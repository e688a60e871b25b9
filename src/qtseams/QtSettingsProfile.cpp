#include "qtseams/QtSettingsProfile.h"

#include "base/FileError.h"
#include "base/MessageBox.h"
#include "base/SafeFile.h"

#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QStandardPaths>
#include <QStringList>

#include <cerrno>
#include <filesystem>
#include <utility>
#include <vector>

namespace {

QString SettingsKey(const std::string& section, const std::string& key) {
    return QString::fromStdString(section) + '/' + QString::fromStdString(key);
}

// Text as QSettings stores it: UTF-8 as a string, anything else as its bytes.
QVariant StoredValue(const std::string& value) {
    const QString text = QString::fromStdString(value);
    if (text.toStdString() == value)
        return text;
    return QByteArray::fromStdString(value);
}

std::string ValueText(const QVariant& value) {
    if (value.typeId() == QMetaType::QByteArray)
        return value.toByteArray().toStdString();
    // An unquoted value with commas in a hand-edited file reads as a list: put it back.
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(',').toStdString();
    return value.toString().toStdString();
}

std::string FileName(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

// The keys and values of a QSettings, to carry them into a new one.
std::vector<std::pair<QString, QVariant>> AllValues(QSettings& settings) {
    std::vector<std::pair<QString, QVariant>> values;
    for (const QString& key : settings.allKeys())
        values.emplace_back(key, settings.value(key));
    return values;
}

} // namespace

QtSettingsProfile::QtSettingsProfile(std::string path) : m_path(std::move(path)) {
    std::string text;
    const int error = ReadWholeFile(m_path, text, kMaxSettingsFileBytes);
    if (error != 0 && error != ENOENT) {
        m_bKeepFile = true;
        ReportOnce(FileErrorCauseFromErrno(error));
    }
    const QString scratch = QFile::decodeName(m_scratchFolder.Path().c_str());
    m_scratchPath = scratch + QStringLiteral("/read.ini");
    // Without its copy the file's settings would be lost by the next save.
    if (!text.empty() &&
        (scratch.isEmpty() || ReplaceFileContents(FileName(m_scratchPath), text) != 0)) {
        m_bKeepFile = true;
        ReportOnce(kCauseGeneric);
    }
    m_settings = std::make_unique<QSettings>(m_scratchPath, QSettings::IniFormat);
    StartAfresh();
}

QtSettingsProfile::~QtSettingsProfile() = default;

std::string QtSettingsProfile::DefaultPath() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    if (QDir::isRelativePath(folder)) {
        // A relative XDG_CONFIG_HOME is to be ignored, but this Qt takes it as it is.
        const QByteArray relative = qgetenv("XDG_CONFIG_HOME");
        qunsetenv("XDG_CONFIG_HOME");
        folder = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
        qputenv("XDG_CONFIG_HOME", relative);
    }
    return FileName(folder + QStringLiteral("/quirnel.ini"));
}

std::string QtSettingsProfile::GetString(const std::string& section, const std::string& key,
                                         const std::string& defaultValue) {
    const QVariant value = m_settings->value(SettingsKey(section, key));
    return value.isValid() ? ValueText(value) : defaultValue;
}

void QtSettingsProfile::WriteString(const std::string& section, const std::string& key,
                                    const std::string& value) {
    const QString name = SettingsKey(section, key);
    const QVariant current = m_settings->value(name);
    if (current.isValid() && ValueText(current) == value)
        return;
    m_settings->setValue(name, StoredValue(value));
    m_changedKeys.insert(name);
    Save();
}

// Moves everything QSettings holds into a new QSettings on a new, empty scratch file, as
// changes still to be saved. QSettings keeps a failure in its status for good, a format
// error in a garbage file it read as much as a write that failed: starting afresh, its
// status tells of the next write alone.
void QtSettingsProfile::StartAfresh() {
    const auto values = AllValues(*m_settings);
    m_settings.reset();
    QFile::remove(m_scratchPath);
    // A name of its own each time, so that nothing QSettings remembers of a file carries over.
    m_scratchPath = QFile::decodeName(m_scratchFolder.Path().c_str()) +
                    QStringLiteral("/quirnel-%1.ini").arg(++m_nScratchFiles);
    m_settings = std::make_unique<QSettings>(m_scratchPath, QSettings::IniFormat);
    for (const auto& [key, value] : values)
        m_settings->setValue(key, value);
}

void QtSettingsProfile::Save() {
    if (m_bKeepFile)
        return;
    m_settings->sync();
    if (m_settings->status() != QSettings::NoError) {
        ReportOnce(kCauseGeneric);
        StartAfresh();
        return;
    }
    // The folder of a first settings file (~/.config/quirnel) may not exist yet.
    const std::filesystem::path folder = std::filesystem::path(m_path).parent_path();
    std::error_code ignored;
    if (!folder.empty())
        std::filesystem::create_directories(folder, ignored);
    // Another window may be saving the same file. A lock that cannot be had in time (a
    // window that hangs, a folder without write permission) does not stop the save: the
    // merge below still keeps whatever the other window had written before.
    QLockFile lock(QFile::decodeName(m_path.c_str()) + QStringLiteral(".lock"));
    lock.tryLock(kSettingsLockWaitMs);
    std::string bytes;
    if (!MergeIntoFile(bytes))
        return;
    if (int error = ReplaceFileContents(m_path, bytes))
        ReportOnce(FileErrorCauseFromErrno(error));
}

// The file as it is on disk now with this profile's changed keys set in it, as bytes; false,
// after the report, when the file cannot be read or the merge cannot be written.
bool QtSettingsProfile::MergeIntoFile(std::string& bytes) {
    std::string text;
    const int error = ReadWholeFile(m_path, text, kMaxSettingsFileBytes);
    if (error != 0 && error != ENOENT) {
        ReportOnce(FileErrorCauseFromErrno(error));
        return false;
    }
    const QString folder = QFile::decodeName(m_scratchFolder.Path().c_str());
    const QString onDisk = folder + QStringLiteral("/on-disk.ini");
    const QString merged = folder + QStringLiteral("/merged-%1.ini").arg(++m_nScratchFiles);
    if (folder.isEmpty() || ReplaceFileContents(FileName(onDisk), text) != 0) {
        ReportOnce(kCauseGeneric);
        return false;
    }
    std::vector<std::pair<QString, QVariant>> values;
    {
        QSettings current(onDisk, QSettings::IniFormat);
        values = AllValues(current);
    }
    QFile::remove(onDisk);
    // A fresh file, so that lines of the old one QSettings could not read do not stop it.
    bool written = false;
    {
        QSettings result(merged, QSettings::IniFormat);
        for (const auto& [key, value] : values)
            if (!m_changedKeys.contains(key))
                result.setValue(key, value);
        for (const QString& key : m_changedKeys)
            result.setValue(key, m_settings->value(key));
        result.sync();
        written = result.status() == QSettings::NoError;
    }
    const int readError =
        written ? ReadWholeFile(FileName(merged), bytes, kMaxSettingsFileBytes) : 0;
    QFile::remove(merged);
    if (!written || readError != 0) {
        ReportOnce(written ? FileErrorCauseFromErrno(readError) : kCauseGeneric);
        return false;
    }
    return true;
}

void QtSettingsProfile::ReportOnce(unsigned cause) {
    if (m_bReported)
        return;
    m_bReported = true;
    ShowMessage(FileErrorText(m_path, cause) + "Changes of folders and options will not be saved.",
                "Error", MsgIcon::Error, MsgButtons::Ok);
}
