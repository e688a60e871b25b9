#include "app/VoiceFiles.h"
#include "TempDir.h"
#include "base/Directories.h"
#include "base/FolderBrowser.h"
#include "base/MessageBox.h"
#include "base/Profile.h"

#include <QByteArray>
#include <QtGlobal>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace {

void Touch(const std::string& path) {
    std::ofstream(path) << "voice";
}

// Answers the folder questions from a script; running out of answers means cancel.
class ScriptedFolders : public IFolderChooser {
public:
    bool ChooseFolder(const std::string& title, std::string& path) override {
        titles.push_back(title);
        if (answers.empty())
            return false;
        path = answers.front();
        answers.erase(answers.begin());
        return true;
    }
    std::vector<std::string> answers;
    std::vector<std::string> titles;
};

// Sets an environment variable for the lifetime of the object.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const std::string& value)
        : m_name(name), m_saved(qgetenv(name)), m_wasSet(qEnvironmentVariableIsSet(name)) {
        qputenv(name, value.c_str());
    }
    ~ScopedVariable() {
        if (m_wasSet)
            qputenv(m_name, m_saved);
        else
            qunsetenv(m_name);
    }

private:
    const char* m_name;
    QByteArray m_saved;
    bool m_wasSet;
};

// A fresh profile, start directory and folder chooser for each test, and empty data folders
// of the user and the system, so that voices installed on this machine are not found.
class VoiceFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetProfile(&profile);
        SetFolderChooser(&folders);
        g_strStartDir = start.Path();
        g_strDatDir.clear();
    }
    void TearDown() override {
        SetProfile(nullptr);
        SetFolderChooser(nullptr);
    }

    TempDir start;
    TempDir user;
    TempDir system;
    ScopedVariable dataHome{"XDG_DATA_HOME", user.Path()};
    ScopedVariable dataDirs{"XDG_DATA_DIRS", system.Path()};
    MemoryProfile profile;
    ScriptedFolders folders;
    std::vector<std::string> list;
};

} // namespace

TEST_F(VoiceFilesTest, FirstRunStoresTheDefaultFolderAndFindsItsVoices) {
    std::filesystem::create_directory(start.File("Dat"));
    Touch(start.File("Dat/male.dat"));
    ASSERT_TRUE(FindVoiceFiles(list));
    EXPECT_EQ(profile.GetString("Directories", "Dat", ""), start.File("Dat"));
    EXPECT_EQ(g_strDatDir, start.File("Dat"));
    EXPECT_EQ(list, std::vector<std::string>{"male.dat"});
    EXPECT_TRUE(folders.titles.empty());
}

TEST_F(VoiceFilesTest, ListsAtMostTwentyVoiceFilesInNameOrder) {
    for (int i = 25; i >= 1; --i)
        Touch(start.File("v" + std::string(i < 10 ? "0" : "") + std::to_string(i) + ".dat"));
    Touch(start.File("A.DAT"));
    Touch(start.File("notes.txt"));
    Touch(start.File("v00.data"));
    std::filesystem::create_directory(start.File("folder.dat"));
    const std::vector<std::string> names = ListVoiceFiles(start.Path());
    ASSERT_EQ(names.size(), 20u);
    EXPECT_EQ(names.front(), "A.DAT"); // the extension in any case
    EXPECT_EQ(names[1], "v01.dat");
    EXPECT_EQ(names.back(), "v19.dat");
    EXPECT_TRUE(std::is_sorted(names.begin() + 1, names.end()));
    EXPECT_TRUE(ListVoiceFiles(start.File("missing")).empty());
}

TEST_F(VoiceFilesTest, AsksAgainUntilAFolderWithVoicesIsChosenAndStoresIt) {
    profile.WriteString("Directories", "Dat", start.File("gone"));
    TempDir empty;
    TempDir voices;
    Touch(voices.File("Voice.Dat"));
    folders.answers = {empty.Path(), voices.Path()};
    ASSERT_TRUE(FindVoiceFiles(list));
    EXPECT_EQ(folders.titles, (std::vector<std::string>(2, "Locate the Dat Directory:")));
    EXPECT_EQ(list, std::vector<std::string>{"Voice.Dat"});
    EXPECT_EQ(g_strDatDir, voices.Path());
    EXPECT_EQ(profile.GetString("Directories", "Dat", ""), voices.Path());
}

// The stored folder first, then the work folder, the user's and the system's data folders,
// and the question last; a folder found by the search is used but not stored.
TEST_F(VoiceFilesTest, SearchesWorkUserAndSystemFoldersBeforeAsking) {
    const std::string stored = start.File("gone");
    const std::vector<std::string> searched = {start.File("Dat"), user.File("quirnel/Dat"),
                                               system.File("quirnel/Dat")};
    for (const std::string& folder : searched) {
        std::filesystem::create_directories(folder);
        Touch(folder + "/voice.dat");
    }
    profile.WriteString("Directories", "Dat", stored);
    for (const std::string& folder : searched) {
        ASSERT_TRUE(FindVoiceFiles(list));
        EXPECT_EQ(g_strDatDir, folder);
        // The user's own voices follow those of another folder, by their whole path.
        if (folder == searched[0])
            EXPECT_EQ(list, (std::vector<std::string>{"voice.dat", searched[1] + "/voice.dat"}));
        else
            EXPECT_EQ(list, std::vector<std::string>{"voice.dat"});
        EXPECT_TRUE(folders.titles.empty());
        EXPECT_EQ(profile.GetString("Directories", "Dat", ""), stored);
        std::filesystem::remove_all(folder);
    }
    TempDir chosen;
    Touch(chosen.File("voice.dat"));
    folders.answers = {chosen.Path()};
    ASSERT_TRUE(FindVoiceFiles(list));
    EXPECT_EQ(folders.titles.size(), 1u);
    EXPECT_EQ(profile.GetString("Directories", "Dat", ""), chosen.Path());
}

// The program then ends with status 0 (CTundrelApp::StartFailureStatus, returned by main).
TEST_F(VoiceFilesTest, CancellingTheQuestionSaysAbortAndGivesUp) {
    profile.WriteString("Directories", "Dat", start.File("gone"));
    RecordingMessageSink messages;
    ScopedMessageSink guard(&messages);
    EXPECT_FALSE(FindVoiceFiles(list));
    EXPECT_TRUE(list.empty());
    EXPECT_EQ(
        messages.Texts(),
        std::vector<std::string>{"The Program cannot be executed without at least one dat-file."});
    EXPECT_EQ(messages.Messages()[0].caption, "Abort");
}
