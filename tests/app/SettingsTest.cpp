#include "app/SettingsFile.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

TEST(SettingsFile, LivesInTheUsersConfigurationFolder) {
    const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", "/tmp/cfg");
    EXPECT_EQ(DefaultSettingsPath(), "/tmp/cfg/quirnel/quirnel.ini");
    qputenv("XDG_CONFIG_HOME", "relative/path"); // not absolute: ignored
    EXPECT_EQ(DefaultSettingsPath(),
              QFile::encodeName(QDir::homePath()).toStdString() + "/.config/quirnel/quirnel.ini");
    qputenv("XDG_CONFIG_HOME", saved);
}
