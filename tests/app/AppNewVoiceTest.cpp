// Voice > New Voice through the window: the voice is made into the voice folder, takes its
// place in the Voices submenu and is chosen; bad values and replacing ask first.
#include "AppFixture.h"
#include "app/MainFrame.h"
#include "view/ScriptedPrompt.h"
#include "view/TundrelView.h"

#include <QAction>
#include <QMenu>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
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
    app->Frame()->ExecuteCommand(ID_NEW_VOICE);
    ASSERT_EQ(messages.Texts().size(), 1u);
    EXPECT_EQ(messages.Texts()[0],
              "The F0 of 40 Hz is outside the range: it must lie between 50 and 500 Hz.");
    const std::string path = work.File("Dat/00-low.dat");
    ASSERT_TRUE(std::filesystem::exists(path));
    EXPECT_EQ(app->m_voiceFiles, (std::vector<std::string>{"00-low.dat", "01-male.dat"}));
    EXPECT_EQ(VoiceEntries(), (QStringList{"00-low.dat*", "01-male.dat"}));
    EXPECT_EQ(app->View()->State().VoiceFile(), path);
    EXPECT_TRUE(app->View()->State().IsPlayPending());

    // The same name again: nothing is made without a Yes.
    const std::string made = ReadFile(path);
    messages.Clear();
    messages.QueueAnswer(MsgAnswer::No);
    prompt.AnswerForm(Voice("00-low", "200"));
    app->Frame()->ExecuteCommand(ID_NEW_VOICE);
    ASSERT_EQ(messages.Messages().size(), 1u);
    EXPECT_EQ(messages.Messages()[0].text,
              "The voice folder holds 00-low.dat already. Replace it?");
    EXPECT_EQ(ReadFile(path), made);
    prompt.AnswerForm(Voice("00-low", "200"));
    app->Frame()->ExecuteCommand(ID_NEW_VOICE); // the sink answers Yes
    EXPECT_NE(ReadFile(path), made);
    EXPECT_EQ(app->m_voiceFiles.size(), 2u);
}

} // namespace
