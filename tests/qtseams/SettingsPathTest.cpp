#include "qtseams/QtSettingsProfile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

TEST(SettingsPath, LivesInTheUsersConfigurationFolder) {
    const QString savedName = QCoreApplication::applicationName();
    QCoreApplication::setApplicationName("quirnel"); // as the program names itself
    const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
    const std::string home = QFile::encodeName(QDir::homePath()).toStdString();
    qputenv("XDG_CONFIG_HOME", "/tmp/cfg");
    EXPECT_EQ(QtSettingsProfile::DefaultPath(), "/tmp/cfg/quirnel/quirnel.ini");
    qputenv("XDG_CONFIG_HOME", "relative/path"); // not absolute: ignored
    EXPECT_EQ(QtSettingsProfile::DefaultPath(), home + "/.config/quirnel/quirnel.ini");
    EXPECT_EQ(qgetenv("XDG_CONFIG_HOME"), "relative/path");
    qunsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(QtSettingsProfile::DefaultPath(), home + "/.config/quirnel/quirnel.ini");
    if (saved.isNull())
        qunsetenv("XDG_CONFIG_HOME");
    else
        qputenv("XDG_CONFIG_HOME", saved);
    QCoreApplication::setApplicationName(savedName);
}
