#include "app/QtSettingsProfile.h"

#include "base/MessageBox.h"

#include <QDir>
#include <QStringList>

namespace {

QString SettingsKey(const std::string& section, const std::string& key) {
    return QString::fromStdString(section) + '/' + QString::fromStdString(key);
}

} // namespace

QtSettingsProfile::QtSettingsProfile(const QString& path)
    : m_settings(path, QSettings::IniFormat) {}

QString QtSettingsProfile::DefaultPath() {
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty() || !QDir::isAbsolutePath(base))
        base = QDir::homePath() + "/.config";
    return base + "/quirnel/quirnel.ini";
}

std::string QtSettingsProfile::GetString(const std::string& section, const std::string& key,
                                         const std::string& defaultValue) {
    const QVariant value = m_settings.value(SettingsKey(section, key));
    if (!value.isValid())
        return defaultValue;
    // An unquoted value with commas in a hand-edited file reads as a list: put it back.
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(',').toStdString();
    return value.toString().toStdString();
}

void QtSettingsProfile::WriteString(const std::string& section, const std::string& key,
                                    const std::string& value) {
    m_settings.setValue(SettingsKey(section, key), QString::fromStdString(value));
    m_settings.sync();
    if (m_settings.status() != QSettings::NoError)
        ReportWriteFailureOnce();
}

void QtSettingsProfile::ReportWriteFailureOnce() {
    if (m_bFailureShown)
        return;
    m_bFailureShown = true;
    ShowMessage("The settings could not be saved to " + m_settings.fileName().toStdString() +
                    ".\nChanges of folders and options will be lost at exit.",
                "Warning", MsgIcon::Warning);
}
