#include "TempDir.h"
#include "app/QtSettingsProfile.h"
#include "base/MessageBox.h"

#include <QDir>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace {

std::string ReadText(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace

TEST(QtSettingsProfile, WritesPlainSectionsAndKeysAtOnce) {
    TempDir dir;
    const std::string path = dir.File("sub/quirnel.ini"); // the folder is created
    QtSettingsProfile profile(QString::fromStdString(path));
    profile.WriteString("Directories", "Dat", "/home/user/Quirnel/Dat");
    profile.WriteInt("Options", "Zoomfactor", 19);
    // Flushed without waiting for the profile to go away.
    const std::string text = ReadText(path);
    EXPECT_NE(text.find("[Directories]\nDat=/home/user/Quirnel/Dat\n"), std::string::npos) << text;
    EXPECT_NE(text.find("[Options]\nZoomfactor=19\n"), std::string::npos) << text;
}

TEST(QtSettingsProfile, ReadsBackEveryKindOfPathAndDefaultsMissingKeys) {
    TempDir dir;
    const QString path = QString::fromStdString(dir.File("quirnel.ini"));
    const std::vector<std::string> values = {
        "/a b/c, d;e", "@start", " padded ", "C:\\old\\dir", "/Vokale/Übung \"neu\"", ""};
    {
        QtSettingsProfile profile(path);
        for (std::size_t i = 0; i < values.size(); ++i)
            profile.WriteString("Directories", "Key" + std::to_string(i), values[i]);
    }
    QtSettingsProfile profile(path);
    for (std::size_t i = 0; i < values.size(); ++i)
        EXPECT_EQ(profile.GetString("Directories", "Key" + std::to_string(i), "x"), values[i]);
    EXPECT_EQ(profile.GetString("Directories", "Vow", "/start"), "/start");
    EXPECT_EQ(profile.GetInt("Options", "Femaletilt", 0), 0);
}

TEST(QtSettingsProfile, ReadsHandEditedValuesWithCommasAsOneString) {
    TempDir dir;
    const std::string path = dir.File("quirnel.ini");
    std::ofstream(path) << "[Directories]\nVow=/data/a,b\n[Options]\nZoomfactor=abc\n";
    QtSettingsProfile profile(QString::fromStdString(path));
    EXPECT_EQ(profile.GetString("Directories", "Vow", ""), "/data/a,b");
    EXPECT_EQ(profile.GetInt("Options", "Zoomfactor", 25), 25);
}

TEST(QtSettingsProfile, AFailedWriteIsReportedOnce) {
    TempDir dir;
    std::ofstream(dir.File("plainfile")) << "x";
    RecordingMessageSink sink;
    ScopedMessageSink guard(&sink);
    QtSettingsProfile profile(QString::fromStdString(dir.File("plainfile/quirnel.ini")));
    profile.WriteString("Directories", "Dat", "/x");
    profile.WriteString("Directories", "Vow", "/y");
    ASSERT_EQ(sink.Messages().size(), 1u);
    EXPECT_EQ(sink.Messages()[0].caption, "Warning");
    // What was written stays readable for the rest of the run.
    EXPECT_EQ(profile.GetString("Directories", "Dat", ""), "/x");
}

TEST(QtSettingsProfile, LivesInTheUsersConfigurationFolder) {
    const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", "/tmp/cfg");
    EXPECT_EQ(QtSettingsProfile::DefaultPath(), "/tmp/cfg/quirnel/quirnel.ini");
    qputenv("XDG_CONFIG_HOME", "relative/path"); // not absolute: ignored
    EXPECT_EQ(QtSettingsProfile::DefaultPath(), QDir::homePath() + "/.config/quirnel/quirnel.ini");
    qputenv("XDG_CONFIG_HOME", saved);
}
