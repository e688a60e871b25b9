// Voice > New Voice through the window: the voice is made into the voice folder, takes its
// place in the Voices submenu and is chosen; bad values and replacing ask first.
#include "AppFixture.h"
#include "app/MainFrame.h"
#include "synth/VoiceFile.h"
#include "view/ScriptedPrompt.h"
#include "view/TundrelView.h"

#include <QAction>
#include <QCoreApplication>
#include <QMenu>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <sys/wait.h>
#include <unistd.h>

namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Sets an environment variable for the life of the object.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const std::string& value) : m_name(name) {
        if (const char* old = std::getenv(name))
            m_old = old;
        setenv(name, value.c_str(), 1);
    }
    ~ScopedVariable() {
        if (m_old)
            setenv(m_name, m_old->c_str(), 1);
        else
            unsetenv(m_name);
    }

private:
    const char* m_name;
    std::optional<std::string> m_old;
};

// Runs body (which returns how many of its checks failed) as this process, or, for root,
// in a child process as the user "nobody", who is given the named folders.
int RunAsOrdinaryUser(const std::vector<std::string>& folders, const std::function<int()>& body) {
    if (geteuid() != 0)
        return body();
    constexpr uid_t kNobody = 65534;
    for (const std::string& folder : folders) {
        chown(folder.c_str(), kNobody, kNobody);
        for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
            if (entry.path().filename() != "Dat" || entry.path().parent_path() != folder)
                lchown(entry.path().c_str(), kNobody, kNobody);
    }
    const pid_t child = fork();
    if (child == 0) {
        const int failed = setgid(kNobody) == 0 && setuid(kNobody) == 0 ? body() : 100;
        std::_Exit(failed);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 200;
}

class NewVoiceTest : public AppFixture {
protected:
    static std::function<void(InputForm&)> Voice(const std::string& name, const std::string& f0) {
        return [=](InputForm& form) {
            form.fields[0].text = name;
            form.fields[1].text = f0;
        };
    }
    QStringList VoiceEntries() const {
        QStringList texts;
        for (const QAction* action : app->Frame()->VoicesMenu()->actions())
            texts << action->text() + (action->isChecked() ? "*" : "");
        return texts;
    }

    ScriptedPrompt prompt;
};

TEST_F(NewVoiceTest, AMadeVoiceTakesItsPlaceInTheVoicesAndIsChosen) {
    ASSERT_TRUE(Start());
    prompt.AnswerForm(Voice("00-low", "40"));
    prompt.AnswerForm(Voice("00-low.dat", "90"));
    // The voice is made on a worker: the window's timers (and repaints) go on meanwhile.
    bool fired = false;
    QTimer::singleShot(0, [&] { fired = true; });
    app->Frame()->ExecuteCommand(ID_NEW_VOICE);
    EXPECT_TRUE(fired);
    ASSERT_EQ(messages.Texts().size(), 1u);
    EXPECT_EQ(messages.Texts()[0],
              "The F0 of 40 Hz is outside the range: it must lie between 50 and 500 Hz.");
    const std::string path = work.File("Dat/00-low.dat");
    ASSERT_TRUE(std::filesystem::exists(path));
    EXPECT_EQ(app->m_voiceFiles, (std::vector<std::string>{"00-low.dat", "01-male.dat"}));
    EXPECT_EQ(VoiceEntries(), (QStringList{"00-low.dat*", "01-male.dat"}));
    EXPECT_EQ(app->View()->State().Sound().VoiceFile(), path);
    EXPECT_TRUE(app->View()->State().Decision().IsPlayPending());
    app->View()->grab();
    QCoreApplication::sendPostedEvents(); // the change plays the chosen voice
    EXPECT_EQ(app->View()->Engine().LoadedVoiceFile(), path);

    // The same name again: nothing is made without a Yes.
    const std::string made = ReadFile(path);
    messages.Clear();
    messages.QueueAnswer(MsgAnswer::No);
    prompt.AnswerForm(Voice("00-low", "200"));
    prompt.formsAsked.clear();
    app->Frame()->ExecuteCommand(ID_NEW_VOICE);
    ASSERT_EQ(messages.Messages().size(), 1u);
    EXPECT_EQ(messages.Messages()[0].text,
              "The voice folder holds 00-low.dat already. Replace it?");
    EXPECT_EQ(ReadFile(path), made);
    // The No leads back to the form with what was typed (here then cancelled).
    ASSERT_EQ(prompt.formsAsked.size(), 2u);
    EXPECT_EQ(prompt.formsAsked[1].fields[0].text, "00-low");
    EXPECT_EQ(prompt.formsAsked[1].fields[1].text, "200");
    prompt.AnswerForm(Voice("00-low", "200"));
    app->Frame()->ExecuteCommand(ID_NEW_VOICE); // the sink answers Yes
    EXPECT_NE(ReadFile(path), made);
    EXPECT_EQ(app->m_voiceFiles.size(), 2u);
    // The chart voices its next vowel with the new file, not the one it had loaded.
    app->View()->grab();
    QCoreApplication::sendPostedEvents(); // the change plays the chosen voice
    VoiceSamples replaced;
    ASSERT_TRUE(ReadVoiceFile(path, replaced).Ok());
    EXPECT_EQ(app->View()->Engine().LoadedVoiceSamples().samples, replaced.samples);
}

// An installed program's voice folder may not be written by its users: their voices go to
// their own data folder, and the Voices menu lists those beside the found ones.
TEST_F(NewVoiceTest, ANewVoiceGoesToTheUsersOwnFolderWhenTheVoiceFolderIsReadOnly) {
    namespace fs = std::filesystem;
    TempDir data;
    const std::string own = data.File("quirnel/Dat");
    fs::create_directories(own);
    fs::copy_file(work.File("Dat/01-male.dat"), own + "/05-mine.dat");
    fs::permissions(work.File("Dat"), fs::perms(0555));
    ScopedVariable dataHome("XDG_DATA_HOME", data.Path());
    // Root writes anywhere: the window then runs as another user in a child process.
    const int failures = RunAsOrdinaryUser({work.Path(), data.Path()}, [&] {
        if (!Start())
            return 1;
        int failed = VoiceEntries() != QStringList{"01-male.dat*", "05-mine.dat"};
        prompt.AnswerForm(Voice("00-low", "90"));
        app->Frame()->ExecuteCommand(ID_NEW_VOICE);
        failed += !fs::exists(own + "/00-low.dat") || fs::exists(work.File("Dat/00-low.dat"));
        failed += app->View()->State().Sound().VoiceFile() != own + "/00-low.dat";
        failed += VoiceEntries() != QStringList{"01-male.dat", "00-low.dat*", "05-mine.dat"};
        failed += !messages.Texts().empty();
        return failed;
    });
    fs::permissions(work.File("Dat"), fs::perms(0755));
    EXPECT_EQ(failures, 0);
}

} // namespace
