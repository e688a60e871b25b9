#include "base/Directories.h"
#include "base/FileError.h"
#include "base/MessageBox.h"
#include "base/Profile.h"
#include "base/Report.h"
#include "base/SafeFile.h"
#include "base/Settings.h"

#include "TempDir.h"

#include <cerrno>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

TEST(FileError, MapsErrnoToCauseCodes) {
    EXPECT_EQ(FileErrorCauseFromErrno(ENOENT), 2u);
    EXPECT_EQ(FileErrorCauseFromErrno(ENOTDIR), 3u);
    EXPECT_EQ(FileErrorCauseFromErrno(ENAMETOOLONG), 3u);
    EXPECT_EQ(FileErrorCauseFromErrno(EMFILE), 4u);
    EXPECT_EQ(FileErrorCauseFromErrno(ENFILE), 4u);
    EXPECT_EQ(FileErrorCauseFromErrno(EACCES), 5u);
    EXPECT_EQ(FileErrorCauseFromErrno(EPERM), 5u);
    EXPECT_EQ(FileErrorCauseFromErrno(EROFS), 5u);
    EXPECT_EQ(FileErrorCauseFromErrno(EIO), 10u);
    EXPECT_EQ(FileErrorCauseFromErrno(ENOSPC), 13u);
    EXPECT_EQ(FileErrorCauseFromErrno(EINVAL), 1u);
}

TEST(FileError, ShowsTheMessageThroughTheSeam) {
    RecordingMessageSink sink;
    ScopedMessageSink guard(&sink);
    const Report report = FileErrorReport("/x/y.txt", EACCES);
    EXPECT_FALSE(report.Ok());
    ShowReport(report);
    ASSERT_EQ(sink.Messages().size(), 1u);
    EXPECT_EQ(sink.Messages()[0].caption, "Error");
    EXPECT_EQ(sink.Messages()[0].text, "Can't open file /x/y.txt, error = 5\nPermission denied");
    EXPECT_EQ(sink.Messages()[0].buttons, MsgButtons::Ok);
}

TEST(MessageSeam, RecorderAnswersFromItsScriptThenDefaults) {
    RecordingMessageSink sink;
    ScopedMessageSink guard(&sink);
    sink.QueueAnswer(MsgAnswer::Cancel);
    EXPECT_EQ(ShowMessage("a", "Frage", MsgIcon::Question, MsgButtons::YesNoCancel),
              MsgAnswer::Cancel);
    EXPECT_EQ(ShowMessage("b", "Frage", MsgIcon::Question, MsgButtons::YesNo), MsgAnswer::Yes);
    EXPECT_EQ(ShowMessage("c", "Fertig"), MsgAnswer::Ok);
    EXPECT_EQ(sink.Texts(), (std::vector<std::string>{"a", "b", "c"}));
}

// What an operation reports reaches the user through its caller, in the order it arose.
TEST(Report, KeepsItsMessagesInOrderAndShowsThemThroughTheSeam) {
    Report part;
    part.Note("w", "Warning", MsgIcon::Warning);
    part.NoteOnce("n", "Error", MsgIcon::Error);
    part.NoteOnce("n", "Error", MsgIcon::Error); // met again: not repeated
    EXPECT_TRUE(part.Ok());
    Report report;
    report.Append(part);
    report.Fail("f", "Error", MsgIcon::Error);
    EXPECT_FALSE(report.Ok());
    EXPECT_FALSE(report.EndsProcess());
    RecordingMessageSink sink;
    ScopedMessageSink guard(&sink);
    ShowReport(report);
    EXPECT_EQ(sink.Texts(), (std::vector<std::string>{"w", "n", "f"}));
    EXPECT_EQ(sink.Messages()[0].icon, MsgIcon::Warning);
    EXPECT_EQ(sink.Messages()[2].caption, "Error");

    // Memory ran out: the end travels with the report up to main, which exits with 1.
    Report outOfMemory;
    outOfMemory.FailForGood("malloc failed", "Error", MsgIcon::Error);
    report.Append(outOfMemory);
    EXPECT_TRUE(report.EndsProcess());
    sink.Clear();
    ShowReport(outOfMemory); // shows the message and returns
    EXPECT_EQ(sink.Texts(), std::vector<std::string>{"malloc failed"});
    EXPECT_EQ(kReportEndsProcessStatus, 1);
}

TEST(Profile, NonNumericIntegerGivesTheDefault) {
    MemoryProfile profile;
    profile.WriteString("Options", "Zoomfactor", "abc");
    EXPECT_EQ(profile.GetInt("Options", "Zoomfactor", 25), 25);
    profile.WriteString("Options", "Zoomfactor", "99999999999999");
    EXPECT_EQ(profile.GetInt("Options", "Zoomfactor", 25), 25);
}

// Each setting under its own section and key, its default when absent, its valid range.
TEST(Settings, ReadAndWriteTheirKeysWithTheirDefaultsAndRanges) {
    MemoryProfile profile;
    SetProfile(&profile);
    g_strStartDir = "/start";
    EXPECT_EQ(ReadSetting(settings::kDocumentFolder), "/start");
    EXPECT_EQ(ReadSetting(settings::kTempWavFolder), "/start");
    EXPECT_EQ(ReadSetting(settings::kVoiceFolder), "");
    EXPECT_EQ(ReadSetting(settings::kWaveListFolder), "");
    EXPECT_EQ(ReadSetting(settings::kZoomFactor), 25);
    EXPECT_EQ(ReadSetting(settings::kFemaleTilt), 6);

    WriteSetting(settings::kDocumentFolder, "/vow");
    WriteSetting(settings::kVoiceFolder, "/dat");
    WriteSetting(settings::kWaveListFolder, "/wav");
    WriteSetting(settings::kZoomFactor, 380);
    WriteSetting(settings::kFemaleTilt, 24);
    EXPECT_EQ(profile.GetString("Directories", "Vow", ""), "/vow");
    EXPECT_EQ(profile.GetString("Directories", "Dat", ""), "/dat");
    EXPECT_EQ(profile.GetString("Directories", "Wavelist", ""), "/wav");
    EXPECT_EQ(profile.GetString("Options", "Zoomfactor", ""), "380");
    EXPECT_EQ(profile.GetString("Options", "Femaletilt", ""), "24");
    profile.WriteString("Directories", "Tempwav", "/tmp");
    EXPECT_EQ(ReadSetting(settings::kTempWavFolder), "/tmp");
    EXPECT_EQ(ReadSetting(settings::kZoomFactor), 380);
    EXPECT_EQ(ReadSetting(settings::kFemaleTilt), 24);
    for (const int outside : {0, 381}) {
        WriteSetting(settings::kZoomFactor, outside);
        EXPECT_EQ(ReadSetting(settings::kZoomFactor), 25) << outside;
    }
    for (const int outside : {-1, 25}) {
        WriteSetting(settings::kFemaleTilt, outside);
        EXPECT_EQ(ReadSetting(settings::kFemaleTilt), 6) << outside;
    }
    g_strStartDir.clear();
    SetProfile(nullptr);
}

// Every number setting reads back both ends of its range as stored, and the first value
// beyond either end as its default.
TEST(Settings, ReadBackBothEndsOfEveryRangeAndTheDefaultJustBeyond) {
    MemoryProfile profile;
    SetProfile(&profile);
    const NumberSetting* all[] = {&settings::kZoomFactor,        &settings::kFemaleTilt,
                                  &settings::kReferenceSpread,   &settings::kAxisLabels,
                                  &settings::kRecordingsOnChart, &settings::kRecordingTracks,
                                  &settings::kStimulusRate};
    for (const NumberSetting* setting : all) {
        const struct {
            int stored;
            int read;
        } cases[] = {
            {setting->minimum, setting->minimum},
            {setting->maximum, setting->maximum},
            {setting->minimum - 1, setting->defaultValue},
            {setting->maximum + 1, setting->defaultValue},
        };
        for (const auto& c : cases) {
            WriteSetting(*setting, c.stored);
            EXPECT_EQ(ReadSetting(*setting), c.read) << setting->key << " " << c.stored;
        }
    }
    // The ranges themselves, as the window and the command line offer them.
    EXPECT_EQ(std::make_pair(settings::kZoomFactor.minimum, settings::kZoomFactor.maximum),
              std::make_pair(1, 380));
    EXPECT_EQ(std::make_pair(settings::kFemaleTilt.minimum, settings::kFemaleTilt.maximum),
              std::make_pair(0, 24));
    SetProfile(nullptr);
}

// A save survives a power cut: the bytes are written and flushed to the disk before the
// new file takes the old one's name, and the folder's entry list is flushed after that.
namespace {
std::vector<std::string> g_durableCalls;

std::string KindOf(int fd) {
    struct stat info {};
    return ::fstat(fd, &info) == 0 && S_ISDIR(info.st_mode) ? "folder" : "file";
}
} // namespace

TEST(ReplaceFileContents, FlushesTheFileBeforeTheRenameAndTheFolderAfter) {
    TempDir dir;
    const std::string path = dir.File("doc.vow");
    ASSERT_EQ(ReplaceFileContents(path, "old"), 0);
    DurableWriteCalls& calls = DurableWriteCallsInUse();
    const DurableWriteCalls real = calls;
    calls.write = [](int fd, const void* bytes, size_t count) {
        if (g_durableCalls.empty() || g_durableCalls.back() != "write " + KindOf(fd))
            g_durableCalls.push_back("write " + KindOf(fd));
        return ::write(fd, bytes, count);
    };
    calls.fsync = [](int fd) {
        g_durableCalls.push_back("fsync " + KindOf(fd));
        return ::fsync(fd);
    };
    calls.rename = [](const char* from, const char* to) {
        g_durableCalls.push_back("rename");
        return ::rename(from, to);
    };
    g_durableCalls.clear();
    const int error = ReplaceFileContents(path, std::string(100000, 'x'));
    calls = real;
    EXPECT_EQ(error, 0);
    EXPECT_EQ(g_durableCalls,
              (std::vector<std::string>{"write file", "fsync file", "rename", "fsync folder"}));
    std::string bytes;
    EXPECT_EQ(ReadWholeFile(path, bytes), 0);
    EXPECT_EQ(bytes.size(), 100000u);
}
