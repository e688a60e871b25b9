#include "audio/WaveListFile.h"

#include "AudioTestSupport.h"
#include "TempDir.h"
#include "base/Directories.h"
#include "base/MessageBox.h"
#include "base/Report.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sys/stat.h>

namespace {

// Shows what a list operation reports, as the wave list window does; true when it succeeded.
bool Shown(const Report& report) {
    ShowReport(report);
    return report.Ok();
}

using audiotest::ReadFile;

TEST(WaveListLine, WritesEntriesRelativeToTheListFolder) {
    EXPECT_EQ(WaveListLine("/lists/a.wav", "/lists/"), "a.wav");
    EXPECT_EQ(WaveListLine("/lists/sub/b.wav", "/lists/"), "sub/b.wav");
    EXPECT_EQ(WaveListLine("/sounds/c.wav", "/lists/"), "../sounds/c.wav");
    EXPECT_EQ(WaveListLine("/lists/sub/b.wav", "/lists/deep/"), "../sub/b.wav");
    EXPECT_EQ(WaveListLine("/sounds/c.wav", "/lists/deep/"), "../../sounds/c.wav");
    // The common directory ends at a separator: "/lists2" is not inside "/lists".
    EXPECT_EQ(WaveListLine("/lists2/a.wav", "/lists/"), "../lists2/a.wav");
    EXPECT_EQ(WaveListLine("/lists/ab.wav", "/lists/a/"), "../ab.wav");
    EXPECT_EQ(WaveListLine("/a.wav", "/"), "a.wav");
    // Paths that do not begin like the folder (kept from Windows lists) are written whole.
    EXPECT_EQ(WaveListLine("D:\\x\\d.wav", "/lists/"), "D:\\x\\d.wav");
    EXPECT_EQ(WaveListLine("\\\\server\\e.wav", "/lists/"), "\\\\server\\e.wav");
}

TEST(WaveListLine, LongAndShortPathsAreNeverWrittenAsEmptyLines) {
    const std::string deep = "/lists/" + std::string(300, 'd') + "/" + std::string(250, 'n');
    EXPECT_EQ(WaveListLine(deep, "/lists/"), deep.substr(7));
    const std::string far = "/other/" + std::string(400, 'x') + ".wav";
    EXPECT_EQ(WaveListLine(far, "/lists/"), "../" + far.substr(1));
    EXPECT_EQ(WaveListLine("/a", "/lists/"), "../a");
}

TEST(ResolveWaveListLine, ClimbsOneFolderPerUpGroupAndReadsWindowsLists) {
    EXPECT_EQ(ResolveWaveListLine("a.wav", "/lists/"), "/lists/a.wav");
    EXPECT_EQ(ResolveWaveListLine("../../sounds/c.wav", "/lists/deep/"), "/sounds/c.wav");
    EXPECT_EQ(ResolveWaveListLine("../../../../x.wav", "/lists/"), "/x.wav");
    EXPECT_EQ(ResolveWaveListLine("", "/lists/"), "/lists/");
    EXPECT_EQ(ResolveWaveListLine("..\\sounds\\c.wav", "/lists/"), "/sounds/c.wav");
    EXPECT_EQ(ResolveWaveListLine("sub\\b.wav", "/lists/"), "/lists/sub/b.wav");
    // Full paths are taken unchanged.
    EXPECT_EQ(ResolveWaveListLine("c:\\x\\d.wav", "/lists/"), "c:\\x\\d.wav");
    EXPECT_EQ(ResolveWaveListLine("\\\\server\\e.wav", "/lists/"), "\\\\server\\e.wav");
    EXPECT_EQ(ResolveWaveListLine("/abs/f.wav", "/lists/"), "/abs/f.wav");
}

class WaveListFileTest : public ::testing::Test {
protected:
    TempDir m_dir;
    RecordingMessageSink m_messages;
    ScopedMessageSink m_guard{&m_messages};
};

TEST_F(WaveListFileTest, FourEntryListIsWrittenRelativeAndReadsBack) {
    const std::string root = m_dir.Path();
    ASSERT_EQ(mkdir((root + "/lists").c_str(), 0755), 0);
    const std::vector<std::string> entries = {root + "/lists/a.wav", root + "/lists/sub/b.wav",
                                              root + "/sounds/c.wav", "D:\\x\\d.wav"};
    const std::string list = root + "/lists/l.wlist";
    ASSERT_TRUE(Shown(SaveWaveList(entries, list)));
    EXPECT_EQ(ReadFile(list), "a.wav\r\nsub/b.wav\r\n../sounds/c.wav\r\nD:\\x\\d.wav\r\n");
    std::vector<std::string> loaded = {"old"};
    ASSERT_TRUE(Shown(LoadWaveList(loaded, list)));
    EXPECT_EQ(loaded, entries);
    EXPECT_TRUE(m_messages.Messages().empty());
}

TEST_F(WaveListFileTest, RelativeListPathAndEntriesAreTakenAgainstTheWorkingDirectory) {
    const std::string previous = CurrentDirectory();
    ASSERT_TRUE(ChangeDirectory(m_dir.Path()));
    ASSERT_EQ(mkdir("sub", 0755), 0);
    const bool saved = Shown(SaveWaveList({"sub/b.wav", m_dir.File("a.wav")}, "sub/rel.wlist"));
    std::vector<std::string> loaded;
    const bool read = Shown(LoadWaveList(loaded, "sub/rel.wlist"));
    ASSERT_TRUE(ChangeDirectory(previous));
    ASSERT_TRUE(saved && read);
    EXPECT_EQ(ReadFile(m_dir.File("sub/rel.wlist")), "b.wav\r\n../a.wav\r\n");
    EXPECT_EQ(loaded, (std::vector<std::string>{m_dir.File("sub/b.wav"), m_dir.File("a.wav")}));
}

TEST_F(WaveListFileTest, HostileContentLoadsWithoutHarm) {
    std::string text = std::string(kMaxWaveListLineBytes, 'x') + "\r\n";
    text += std::string("nul\0inside.wav\n", 15);
    for (int i = 0; i < 1000; ++i)
        text += "../";
    text += "deep.wav\r\n\r\r\n\r\n\xff\xfe.wav";
    const std::string list = m_dir.File("hostile.wlist");
    std::ofstream(list, std::ios::binary) << text;
    std::vector<std::string> loaded;
    ASSERT_TRUE(Shown(LoadWaveList(loaded, list)));
    const std::string dir = m_dir.Path() + "/";
    ASSERT_EQ(loaded.size(), 6u);
    EXPECT_EQ(loaded[0], dir + std::string(kMaxWaveListLineBytes, 'x'));
    EXPECT_EQ(loaded[1], dir + std::string("nul\0inside.wav", 14));
    EXPECT_EQ(loaded[2], "/deep.wav");
    EXPECT_EQ(loaded[3], dir + "\r");
    EXPECT_EQ(loaded[4], dir);
    EXPECT_EQ(loaded[5], dir + "\xff\xfe.wav");
    EXPECT_TRUE(m_messages.Messages().empty());
}

// Every name Linux allows (but a line break) saves and loads as the same entry.
TEST_F(WaveListFileTest, NamesWithBackslashesAndDoubledSeparatorsRoundTrip) {
    const std::string dir = m_dir.Path() + "/";
    EXPECT_EQ(WaveListLine("/d/my\\take.wav", "/d/"), "/d/my\\take.wav");
    EXPECT_EQ(ResolveWaveListLine("\\a.wav", dir), dir + "a.wav");
    EXPECT_EQ(ResolveWaveListLine("sub\\\\b.wav", dir), dir + "sub/b.wav");
    const std::vector<std::string> entries = {
        dir + "my\\take.wav", dir + "\\a.wav", dir + "sub//b.wav", dir + "..\\c.wav",
        dir + "c:d.wav",      dir + "e.wav\r", "/f\\g.wav",        dir + "\xff.wav"};
    const std::string list = m_dir.File("l.wlist");
    ASSERT_TRUE(Shown(SaveWaveList(entries, list)));
    std::vector<std::string> loaded;
    ASSERT_TRUE(Shown(LoadWaveList(loaded, list)));
    EXPECT_EQ(loaded, entries);
    // Only a line break cannot be held by a line: such a list is refused, the old one kept.
    EXPECT_FALSE(Shown(SaveWaveList({dir + "two\nlines.wav"}, list)));
    EXPECT_EQ(m_messages.Texts(),
              std::vector<std::string>{"The wave list " + list +
                                       " cannot be saved: the file name\n" + dir +
                                       "two\nlines.wav\nholds a line break."});
    ASSERT_TRUE(Shown(LoadWaveList(loaded, list)));
    EXPECT_EQ(loaded, entries);
}

// Memory stays bounded whatever the file holds; reading stops one line past a limit.
TEST_F(WaveListFileTest, ListsOverTheLimitsOrNotRegularFilesAreRefused) {
    const std::string blank = m_dir.File("blank.wlist");
    std::ofstream(blank, std::ios::binary) << std::string(10 << 20, '\n');
    const std::string wide = m_dir.File("wide.wlist");
    std::ofstream(wide, std::ios::binary) << "a.wav\r\n"
                                          << std::string(kMaxWaveListLineBytes + 1, 'x');
    const std::string pipe = m_dir.File("pipe.wlist");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    std::vector<std::string> entries = {"/keep/a.wav"};
    EXPECT_FALSE(Shown(LoadWaveList(entries, blank)));
    EXPECT_FALSE(Shown(LoadWaveList(entries, wide)));
    EXPECT_FALSE(Shown(LoadWaveList(entries, pipe))); // without waiting for a writer
    EXPECT_EQ(entries, std::vector<std::string>{"/keep/a.wav"});
    EXPECT_EQ(
        m_messages.Texts(),
        (std::vector<std::string>{blank + " is not a wave list: it has more than 10000 lines.",
                                  wide + " is not a wave list: line 2 is longer than 4096 bytes.",
                                  "Can't open file " + pipe +
                                      ", error = 1\n"
                                      "it is not a regular file (a device or a pipe)"}));
    EXPECT_FALSE(
        Shown(SaveWaveList(std::vector<std::string>(kMaxWaveListLines + 1, "/a.wav"), blank)));
    // The longest list is saved and read back whole.
    const std::vector<std::string> longest(kMaxWaveListLines, "/a.wav");
    ASSERT_TRUE(Shown(SaveWaveList(longest, blank)));
    ASSERT_TRUE(Shown(LoadWaveList(entries, blank)));
    EXPECT_EQ(entries, longest);
}

TEST_F(WaveListFileTest, ListThatCannotBeReadKeepsTheEntries) {
    std::vector<std::string> entries = {"/keep/a.wav"};
    const std::string missing = m_dir.File("missing.wlist");
    EXPECT_FALSE(Shown(LoadWaveList(entries, missing)));
    EXPECT_FALSE(Shown(LoadWaveList(entries, m_dir.Path()))); // a folder opens but does not read
    EXPECT_EQ(entries, std::vector<std::string>{"/keep/a.wav"});
    ASSERT_EQ(m_messages.Messages().size(), 2u);
    EXPECT_EQ(m_messages.Messages()[0].caption, "Error");
    EXPECT_EQ(m_messages.Messages()[0].text,
              "Can't open file " + missing + ", error = 2\nNo such file or directory");
}

TEST_F(WaveListFileTest, FailedSaveReportsAndKeepsTheOldList) {
    const std::string nowhere = m_dir.File("no/such/l.wlist");
    EXPECT_FALSE(Shown(SaveWaveList({"/a.wav"}, nowhere)));
    const std::string list = m_dir.File("keep.wlist");
    ASSERT_TRUE(Shown(SaveWaveList({m_dir.File("a.wav")}, list)));
    // A folder of that name cannot be replaced by the new list.
    ASSERT_EQ(mkdir(m_dir.File("blocked.wlist").c_str(), 0755), 0);
    EXPECT_FALSE(Shown(SaveWaveList({m_dir.File("b.wav")}, m_dir.File("blocked.wlist"))));
    ASSERT_EQ(m_messages.Messages().size(), 2u);
    EXPECT_EQ(m_messages.Messages()[0].text,
              "Can't open file " + nowhere + ", error = 2\nNo such file or directory");
    EXPECT_EQ(ReadFile(list), "a.wav\r\n");
    int files = 0; // no half-written file is left behind
    for (const auto& item : std::filesystem::directory_iterator(m_dir.Path()))
        files += item.is_regular_file();
    EXPECT_EQ(files, 1);
}

TEST_F(WaveListFileTest, SaveThroughASymlinkKeepsTheLinkAndThePermissions) {
    ASSERT_EQ(mkdir(m_dir.File("real").c_str(), 0755), 0);
    const std::string target = m_dir.File("real/l.wlist");
    ASSERT_TRUE(Shown(SaveWaveList({m_dir.File("old.wav")}, target)));
    ASSERT_EQ(chmod(target.c_str(), 0640), 0);
    const std::string link = m_dir.File("link.wlist");
    std::filesystem::create_symlink("real/l.wlist", link);
    ASSERT_TRUE(Shown(SaveWaveList({m_dir.File("new.wav")}, link)));
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    // The lines are relative to the folder the list was saved under, the link's.
    EXPECT_EQ(ReadFile(target), "new.wav\r\n");
    struct stat info {};
    ASSERT_EQ(stat(target.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
}

} // namespace
