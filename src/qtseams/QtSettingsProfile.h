// The application profile: an INI file read and written with QSettings, saved as documents are.
#pragma once

#include "base/Profile.h"
#include "base/ScratchFolder.h"

#include <QSet>
#include <QSettings>
#include <QString>

#include <cstddef>
#include <memory>
#include <string>

// Settings files hold a few short lines; a bigger file is not one.
constexpr size_t kMaxSettingsFileBytes = size_t{1} << 20;

// The longest wait for another window that is writing the same settings file.
constexpr int kSettingsLockWaitMs = 2000;

// Reads the file once at construction, never waiting and at most kMaxSettingsFileBytes of
// it (a missing file is an empty profile), and hands a private scratch copy to QSettings,
// which never touches the file itself. Every change is saved at once: under a lock file
// beside the settings file (waiting at most kSettingsLockWaitMs for another window), the
// file is read as it is on disk at that moment and only the keys this profile changed
// are merged into it, so that two windows never lose each other's changes. The result is
// written with the safe replace: a symbolic link is written
// through and kept, a target that is not a regular file or may not be written is refused,
// and the old file survives every failure. A file that exists but cannot be read (a
// folder, a device, a pipe, a file over the limit, no permission) is never overwritten.
// The first failure is reported with the file-error message; the settings are then kept in
// memory until the program ends. Values keep their bytes: text that is not UTF-8 is
// stored as QSettings stores bytes (@ByteArray).
class QtSettingsProfile : public IProfile {
public:
    explicit QtSettingsProfile(std::string path);
    ~QtSettingsProfile() override;
    QtSettingsProfile(const QtSettingsProfile&) = delete;
    QtSettingsProfile& operator=(const QtSettingsProfile&) = delete;

    // quirnel.ini in the application's configuration folder, which the application name
    // "quirnel" names: $XDG_CONFIG_HOME/quirnel/quirnel.ini, or
    // ~/.config/quirnel/quirnel.ini when the variable is unset or not an absolute path.
    static std::string DefaultPath();

    std::string GetString(const std::string& section, const std::string& key,
                          const std::string& defaultValue) override;
    void WriteString(const std::string& section, const std::string& key,
                     const std::string& value) override;

    const std::string& Path() const { return m_path; }

private:
    void StartAfresh();
    void Save();
    void ReportOnce(unsigned cause);

    std::string m_path;
    bool MergeIntoFile(std::string& bytes);

    ScratchFolder m_scratchFolder{"quirnel-settings"};
    QString m_scratchPath;
    int m_nScratchFiles = 0;
    std::unique_ptr<QSettings> m_settings;
    QSet<QString> m_changedKeys; // what this profile wrote: the keys merged into the file
    bool m_bKeepFile = false;    // the file could not be read, so it is left as it is
    bool m_bReported = false;
};
