// The application profile as an INI file read and written with QSettings.
#pragma once

#include "base/Profile.h"

#include <QSettings>
#include <QString>

// Sections and keys are kept exactly ("[Directories]" / "Dat=..."); every write is
// flushed at once so that nothing is lost when the process ends without clean-up.
class QtSettingsProfile : public IProfile {
public:
    explicit QtSettingsProfile(const QString& path);

    // $XDG_CONFIG_HOME/quirnel/quirnel.ini, or ~/.config/quirnel/quirnel.ini when unset.
    static QString DefaultPath();

    std::string GetString(const std::string& section, const std::string& key,
                          const std::string& defaultValue) override;
    void WriteString(const std::string& section, const std::string& key,
                     const std::string& value) override;

    QString FileName() const { return m_settings.fileName(); }

private:
    void ReportWriteFailureOnce();

    QSettings m_settings;
    bool m_bFailureShown = false;
};
