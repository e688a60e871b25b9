// The settings file: its INI layout as QSettings reads and writes it, and writing it by the
// rules of documents.
#include "FileSizeLimit.h"
#include "TempDir.h"
#include "base/MessageBox.h"
#include "qtseams/QtSettingsProfile.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

class SettingsFile : public ::testing::Test {
protected:
    TempDir dir;
    RecordingMessageSink sink;
    ScopedMessageSink guard{&sink};
};

} // namespace

TEST_F(SettingsFile, WritesPlainSectionsAndKeysAtOnce) {
    const std::string path = dir.File("sub/quirnel.ini"); // the folder is created
    QtSettingsProfile profile(path);
    profile.WriteString("Directories", "Dat", "/home/user/Quirnel/Dat");
    profile.WriteInt("Options", "Zoomfactor", 19);
    // Flushed without waiting for the profile to go away.
    EXPECT_EQ(ReadText(path),
              "[Directories]\nDat=/home/user/Quirnel/Dat\n\n[Options]\nZoomfactor=19\n");
    EXPECT_TRUE(sink.Messages().empty());
    // QSettings works on a copy elsewhere: nothing of its own lands beside the file.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.File("sub")), fs::directory_iterator()), 1);
}

// Two windows on one file: each writes only what it changed, into the file as it is then.
TEST_F(SettingsFile, TwoProfilesOnOneFileKeepEachOthersChanges) {
    const std::string path = dir.File("quirnel.ini");
    WriteText(path, "[Options]\nZoomfactor=30\n");
    QtSettingsProfile first(path);
    QtSettingsProfile second(path);
    first.WriteString("Directories", "Vow", "/first");
    second.WriteString("Directories", "Dat", "/second");
    second.WriteInt("Options", "Zoomfactor", 31);
    first.WriteString("Directories", "Vow", "/first again");
    EXPECT_EQ(ReadText(path), "[Directories]\nDat=/second\nVow=/first again\n\n"
                              "[Options]\nZoomfactor=31\n");
    EXPECT_TRUE(sink.Messages().empty());
}

TEST_F(SettingsFile, KeepsSectionsAndKeysAcrossInstances) {
    const std::string path = dir.File("quirnel.ini");
    {
        QtSettingsProfile profile(path);
        profile.WriteString("Directories", "Vow", "/home/u/vow files");
        profile.WriteInt("Options", "Zoomfactor", 40);
    }
    QtSettingsProfile again(path);
    EXPECT_EQ(again.GetString("Directories", "Vow", ""), "/home/u/vow files");
    EXPECT_EQ(again.GetInt("Options", "Zoomfactor", 25), 40);
    EXPECT_EQ(again.GetInt("Options", "Femaletilt", 6), 6);
    EXPECT_EQ(again.GetString("Directories", "Dat", "none"), "none");
}

TEST_F(SettingsFile, ReadsBackEveryKindOfPathAndDefaultsMissingKeys) {
    const std::string path = dir.File("quirnel.ini");
    const std::vector<std::string> values = {"/a b/c, d;e",
                                             "@start",
                                             " padded ",
                                             "C:\\old\\dir",
                                             "/Vokale/Übung \"neu\"",
                                             "",
                                             "tab\there\x01"
                                             "1\nnext",
                                             "/not/utf8/\xff\xfe",
                                             "x=y"};
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

// What earlier versions wrote through QSettings, and what users edit by hand.
TEST_F(SettingsFile, ReadsQSettingsFilesAndHandEditedValues) {
    const std::string path = dir.File("quirnel.ini");
    WriteText(path, "\xEF\xBB\xBF; comment\n[Dir%20ectories]\nK%20ey=x\n\n[Directories]\n"
                    "A=\"/a b/c, d;e\"\nB=@@start\nC=\" padded \"\nD=C:\\\\old\\\\dir\n"
                    "E=/Vokale/\xC3\x9C"
                    "bung \\\"neu\\\"\nG=tab\\there\\x1x1\n"
                    "Vow=/data/a,b ; trailing comment\nW = spaced \nT=\"two\nlines\"\n"
                    "[Options]\nZoomfactor=abc\n");
    QtSettingsProfile profile(path);
    EXPECT_EQ(profile.GetString("Dir ectories", "K ey", ""), "x");
    EXPECT_EQ(profile.GetString("Directories", "A", ""), "/a b/c, d;e");
    EXPECT_EQ(profile.GetString("Directories", "B", ""), "@start");
    EXPECT_EQ(profile.GetString("Directories", "C", ""), " padded ");
    EXPECT_EQ(profile.GetString("Directories", "D", ""), "C:\\old\\dir");
    EXPECT_EQ(profile.GetString("Directories", "E", ""), "/Vokale/Übung \"neu\"");
    EXPECT_EQ(profile.GetString("Directories", "G", ""), "tab\there\x01x1");
    EXPECT_EQ(profile.GetString("Directories", "Vow", ""), "/data/a,b");
    EXPECT_EQ(profile.GetString("Directories", "W", ""), "spaced");
    EXPECT_EQ(profile.GetString("Directories", "T", ""), "two\nlines");
    EXPECT_EQ(profile.GetInt("Options", "Zoomfactor", 25), 25);
    EXPECT_TRUE(sink.Messages().empty());
}

TEST_F(SettingsFile, ALinkIsWrittenThroughAndWhatIsNoRegularFileIsNeverReplaced) {
    fs::create_directory(dir.File("real"));
    WriteText(dir.File("real/quirnel.ini"), "[Directories]\nVow=/old\n");
    fs::create_symlink("real/quirnel.ini", dir.File("link.ini"));
    QtSettingsProfile linked(dir.File("link.ini"));
    EXPECT_EQ(linked.GetString("Directories", "Vow", ""), "/old");
    linked.WriteString("Directories", "Vow", "/new");
    EXPECT_TRUE(fs::is_symlink(dir.File("link.ini")));
    EXPECT_EQ(ReadText(dir.File("real/quirnel.ini")), "[Directories]\nVow=/new\n");

    // A pipe or a folder, directly or behind a link: refused without waiting,
    // reported once, and the settings still hold for the rest of the run.
    ASSERT_EQ(::mkfifo(dir.File("fifo").c_str(), 0600), 0);
    fs::create_symlink("fifo", dir.File("fifo-link.ini"));
    fs::create_directory(dir.File("folder.ini"));
    // (No device here: a regression would replace it, and the tests may run as root.)
    for (const std::string& path :
         {dir.File("fifo"), dir.File("fifo-link.ini"), dir.File("folder.ini")}) {
        SCOPED_TRACE(path);
        sink.Clear();
        QtSettingsProfile profile(path);
        profile.WriteString("Directories", "Dat", "/x");
        profile.WriteString("Directories", "Vow", "/y");
        ASSERT_EQ(sink.Messages().size(), 1u);
        EXPECT_EQ(sink.Messages()[0].caption, "Error");
        EXPECT_EQ(sink.Texts()[0].rfind("Can't open file " + path + ", error = ", 0), 0u);
        EXPECT_EQ(profile.GetString("Directories", "Dat", ""), "/x");
    }
    struct stat info {};
    ASSERT_EQ(::stat(dir.File("fifo").c_str(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
    EXPECT_TRUE(fs::is_directory(dir.File("folder.ini")));
}

TEST_F(SettingsFile, TheOldFileSurvivesAFailedWriteAndGarbageIsNoFailure) {
    const std::string path = dir.File("quirnel.ini");
    const std::string old = "[Directories]\nVow=/old\n";
    WriteText(path, old);
    QtSettingsProfile profile(path);
    {
        FileSizeLimit limit(old.size() + 4); // as on a full disk
        profile.WriteString("Directories", "Vow", "/a/much/longer/folder/name");
        profile.WriteString("Directories", "Dat", "/b");
    }
    EXPECT_EQ(ReadText(path), old);
    ASSERT_EQ(sink.Messages().size(), 1u); // once per run
    EXPECT_EQ(sink.Texts()[0].rfind("Can't open file " + path + ", error = 1\n", 0), 0u);
    EXPECT_EQ(profile.GetString("Directories", "Vow", ""), "/a/much/longer/folder/name");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), fs::directory_iterator()), 1);
    // Once the file can be written again, the next change saves the earlier ones with it.
    profile.WriteInt("Options", "Zoomfactor", 30);
    EXPECT_EQ(QtSettingsProfile(path).GetString("Directories", "Vow", ""),
              "/a/much/longer/folder/name");
    EXPECT_EQ(sink.Messages().size(), 1u);

    // Garbage is read as far as it is readable; saving over it is no failure.
    sink.Clear();
    WriteText(path, std::string("\x00\x01 no key here \xff\n", 17) + "[Options]\nZoomfactor=30\n");
    QtSettingsProfile garbage(path);
    EXPECT_EQ(garbage.GetInt("Options", "Zoomfactor", 25), 30);
    garbage.WriteInt("Options", "Femaletilt", 6);
    EXPECT_TRUE(sink.Messages().empty());
    EXPECT_EQ(QtSettingsProfile(path).GetInt("Options", "Femaletilt", 0), 6);
}
