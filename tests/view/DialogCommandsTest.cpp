// The view's commands that ask first: zoom grid, duration, tilt, circle parameters and the
// folder for "temp.wav", answered from a script.
#include "ScriptedPrompt.h"
#include "ViewFixture.h"

#include <QLabel>
#include <QSlider>

namespace {

class DialogCommandTest : public ViewTest {
protected:
    ScriptedPrompt prompt;
    ScriptedFolders folders;
};

TEST_F(DialogCommandTest, ZoomParametersWorkOnlyInZoomModeAndSetTheGrid) {
    CreateView();
    EXPECT_FALSE(view->OnUpdateCommand(ID_ZOOM_PARAMETERS).enabled);
    view->OnCommand(ID_ZOOM);
    EXPECT_TRUE(view->OnUpdateCommand(ID_ZOOM_PARAMETERS).enabled);
    const ChartPoint point = view->State().Selection().SelectedPoint();
    prompt.AnswerText("7");
    view->OnCommand(ID_ZOOM_PARAMETERS);
    EXPECT_EQ(prompt.prompts, std::vector<std::string>{"Wieviele Formantpositionen ?"});
    EXPECT_EQ(prompt.initialTexts, std::vector<std::string>{"15"});
    EXPECT_EQ(view->State().Shown().GridWidth(), 54);
    EXPECT_EQ(view->State().Selection().SelectedPoint(),
              point); // the point keeps its pixel position

    prompt.AnswerText("0"); // no grid of zero width reaches the chart
    view->OnCommand(ID_ZOOM_PARAMETERS);
    EXPECT_EQ(view->State().Shown().GridWidth(), 380);
    prompt.AnswerText(std::nullopt);
    view->OnCommand(ID_ZOOM_PARAMETERS);
    EXPECT_EQ(view->State().Shown().GridWidth(), 380);
    EXPECT_EQ(prompt.initialTexts.back(), "1");
}

TEST_F(DialogCommandTest, TiltIsClampedAndPlayedAtOnce) {
    CreateView();
    view->OnCommand(ID_FEMALE);
    Paint();
    player.played.clear();
    prompt.AnswerText("30");
    view->OnCommand(ID_FEMALE_TILT);
    EXPECT_EQ(prompt.prompts.back(), "Spectral tilt above 3 kHz in dB (0 - 24)");
    EXPECT_EQ(prompt.initialTexts.back(), "6");
    EXPECT_EQ(view->State().Sound().FemaleTilt(), 24);
    EXPECT_EQ(player.played.size(), 1u);

    prompt.AnswerText(std::nullopt); // Cancel: nothing changes, nothing plays
    view->OnCommand(ID_FEMALE_TILT);
    EXPECT_EQ(view->State().Sound().FemaleTilt(), 24);
    EXPECT_EQ(player.played.size(), 1u);
}

TEST_F(DialogCommandTest, DurationIsClampedShownOnTheSliderAndPlayed) {
    CreateView();
    Paint();
    player.played.clear();
    prompt.AnswerText("0");
    view->OnCommand(ID_DURATION);
    EXPECT_EQ(prompt.prompts.back(), "Length of Vowel in % (1 - 100)");
    EXPECT_EQ(prompt.initialTexts.back(), "100");
    EXPECT_EQ(view->State().Sound().LastDuration(), 1);
    EXPECT_EQ(view->GetDuration(), 1);
    EXPECT_EQ(view->LengthValue()->text(), "1");
    EXPECT_EQ(player.played.size(), 1u);
    prompt.AnswerText("250");
    view->OnCommand(ID_DURATION);
    EXPECT_EQ(view->GetDuration(), 100);
}

TEST_F(DialogCommandTest, CircleParametersSwitchCircleModeOnOnlyAfterOk) {
    CreateView();
    view->OnCommand(ID_MODE_DIPHTHONG);
    view->OnCommand(ID_CIRCLE_PARAMETERS); // cancelled
    EXPECT_EQ(prompt.circleAsked, (std::vector<std::pair<unsigned, unsigned>>{{16, 30}}));
    EXPECT_EQ(view->State().Selection().CircleRadius(), 16);
    prompt.AnswerCircle(40, 45);
    view->OnCommand(ID_CIRCLE_PARAMETERS);
    EXPECT_EQ(view->State().Selection().CircleRadius(), 40);
    EXPECT_EQ(view->State().Selection().CircleStep(), 45);
    EXPECT_TRUE(view->OnUpdateCommand(ID_MODE_DIPHTHONG).checked); // left as it was
    EXPECT_FALSE(view->OnUpdateCommand(ID_MODE_NORMAL).checked);
    view->OnCommand(ID_CIRCLE_FORWARD);
    EXPECT_EQ(view->State().Selection().CircleAngle(), 45);
}

TEST_F(DialogCommandTest, TemporaryFolderChangesOnlyForThisRun) {
    CreateView();
    const std::string before = g_strTempDir;
    view->OnCommand(ID_TEMP_PATH); // cancelled
    EXPECT_EQ(folders.titles,
              std::vector<std::string>{"Select a Directory for the 'temp.wav' File:"});
    EXPECT_EQ(g_strTempDir, before);
    TempDir other;
    folders.answer = other.Path();
    view->OnCommand(ID_TEMP_PATH);
    EXPECT_EQ(g_strTempDir, other.Path());
    EXPECT_FALSE(profile.Has("Directories", "Tempwav"));
    PaintAndPlay();
    ASSERT_FALSE(player.played.empty());
    EXPECT_EQ(player.played.back(), other.File("temp.wav"));
    g_strTempDir = before;
}

} // namespace
