// Tests of the chart's rules on its state alone: clicks and keys, paging, zoom, maps, circle
// and diphthong, the commands' check marks and the vowel the chart plays. No widgets.
#include "chart/ChartState.h"
#include "chart/ChartCommands.h"
#include "doc/TundrelDoc.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

ChartScale Herz() {
    return ChartScale{};
}

// The state as the view has it after its creation and the initial update, over a fresh
// document, with two voices in "/voices".
class ChartStateTest : public ::testing::Test {
protected:
    void SetUp() override {
        state.SetVoiceFiles(&voiceFiles);
        state.ShowFirstVowel();
        state.InitialUpdate("/voices");
    }

    // Runs a command as its menu entry or key does, keeping a refusal.
    void Run(int id) {
        const ChartCommandResult result = RunChartCommand(state, id);
        EXPECT_TRUE(result.handled) << id;
        Keep(result.refusal);
    }
    CommandState StateOf(int id) const { return ChartCommandState(state, id); }
    void Keep(const std::optional<MessageRequest>& refusal) {
        if (refusal)
            refusals.push_back(*refusal);
    }
    std::vector<std::string> RefusalTexts() const {
        std::vector<std::string> texts;
        for (const MessageRequest& refusal : refusals)
            texts.push_back(refusal.text);
        return texts;
    }
    // A left click at a client point of the view.
    void Click(int px, int py) { state.LeftClick({px - kChartLeft, py}); }
    // The user selects a row of the vowel list.
    void ChooseRow(int row) {
        state.SetSelectedRow(row);
        state.SelectVowel();
    }

    CTundrelDoc doc;
    ChartState state{&doc};
    std::vector<std::string> voiceFiles{"test.dat", "second.dat"};
    std::vector<MessageRequest> refusals;
};

TEST_F(ChartStateTest, ClicksOutsideTheChartSelectNothing) {
    const ChartPoint before = state.SelectedPoint();
    Click(50, 100);
    Click(10, 100);
    Click(431, 100);
    EXPECT_EQ(state.SelectedPoint(), before);
    Click(430, 500); // y is taken as it is
    EXPECT_EQ(state.SelectedPoint(), (ChartPoint{380, 500}));
    Click(51, 7);
    EXPECT_EQ(state.SelectedPoint(), (ChartPoint{1, 7}));
}

TEST_F(ChartStateTest, ArrowKeysMoveOneStepWithinTheLimits) {
    Click(53, 2);
    Run(ID_MOVE_LEFT);
    Run(ID_MOVE_UP);
    EXPECT_EQ(state.SelectedPoint(), (ChartPoint{1, 0})); // x = 0 would be no point at all
    Click(428, 383);
    Run(ID_MOVE_RIGHT);
    Run(ID_MOVE_DOWN);
    EXPECT_EQ(state.SelectedPoint(), (ChartPoint{379, 384}));
    Click(150, 100);
    Run(ID_MOVE_RIGHT);
    EXPECT_EQ(state.SelectedPoint(), (ChartPoint{105, 100}));
    Run(ID_ZOOM);
    const ChartPoint zoomed = state.SelectedPoint();
    Run(ID_MOVE_DOWN);
    EXPECT_EQ(state.SelectedPoint(), (ChartPoint{zoomed.x, zoomed.y + 25}));
}

TEST_F(ChartStateTest, ResetInTheModifiedVowelListResetsTheVowelOnTheRow) {
    doc.StoreEntry(19, 500, 1000, 2500, 50, kMale, kCardinal); // further vowel 0x59
    Run(ID_MODIFIED_VOWELS);
    ASSERT_EQ(state.Rows().size(), 1u);
    EXPECT_EQ(state.Rows()[0].symbol, 0x59);
    Keep(state.ResetVowel());
    EXPECT_FALSE(doc.IsEntryModified(19, kMale, kCardinal));
    EXPECT_EQ(doc.GetEntryF1(19, kMale, kCardinal), 350);
    EXPECT_FALSE(doc.IsEntryModified(0, kMale, kCardinal));
    EXPECT_TRUE(refusals.empty());
}

TEST_F(ChartStateTest, ZoomCentreOfTheModifiedMapListIsFoundBySymbol) {
    for (int slot = 0; slot < 12; ++slot)
        doc.StoreEntry(slot, 500, 1000, 2500, 50, kMale, kCardinal);
    Run(ID_MODIFIED_MAP);
    ASSERT_EQ(state.Rows().size(), 12u);
    ChooseRow(11); // secondary vowel 0xAF
    Run(ID_ZOOM);
    EXPECT_EQ(state.Scale().centreF1, 720);
    EXPECT_EQ(state.Scale().centreF2, 1350);
}

TEST_F(ChartStateTest, VowelTypesPageWithTab) {
    EXPECT_STREQ(StateOf(ID_NEXT_TYPE).text, "&View Rounded (secondary) Vowels\tTab");
    Run(ID_NEXT_TYPE);
    EXPECT_EQ(state.VowelType(), 1);
    EXPECT_EQ(state.Rows()[0].symbol, 0x79);
    EXPECT_EQ(state.SelectedRow(), -1);
    for (int i = 0; i < 3; ++i)
        Run(ID_NEXT_TYPE);
    EXPECT_EQ(state.VowelType(), 0);
    Run(ID_TYPE_SCHWA);
    EXPECT_EQ(state.Rows().size(), 8u); // the blank placeholders are listed too
    EXPECT_TRUE(StateOf(ID_TYPE_SCHWA).checked);
    EXPECT_STREQ(StateOf(ID_NEXT_TYPE).text, "&View primary Vowels\tTab");
}

TEST_F(ChartStateTest, ZoomedPagingKeepsTheRowAndCentresOnIt) {
    ChooseRow(2);
    Run(ID_ZOOM);
    Run(ID_NEXT_TYPE);
    EXPECT_EQ(state.SelectedRow(), 2);
    EXPECT_EQ(state.SelectedPoint(), (ChartPoint{190, 192}));
    EXPECT_EQ(state.UpdateF3(), 2300);
}

TEST_F(ChartStateTest, ZoomedPagingMovesToTheStoredPositionOfTheRow) {
    const VowelEntry& preset = kPresetVowels[kMale][1][2];
    doc.StoreEntry(SlotOf(1, 2), preset.f1 + 100, preset.f2 - 200, 2900, 100, kMale, 0);
    ChooseRow(2);
    Run(ID_ZOOM);
    Run(ID_NEXT_TYPE);
    const ChartScale zoomed = state.Scale();
    EXPECT_EQ(state.SelectedPoint(), (ChartPoint{FrequencyToX(zoomed, preset.f1 + 100),
                                                 FrequencyToY(zoomed, preset.f2 - 200)}));
    EXPECT_NE(state.SelectedPoint(), (ChartPoint{190, 192}));
    EXPECT_EQ(state.UpdateF3(), 2900);
}

TEST_F(ChartStateTest, CircleOffsetsFollowTheAngle) {
    EXPECT_EQ(state.CircleOffsets(), (ChartPoint{0, 16}));
    Run(ID_CIRCLE_FORWARD);
    EXPECT_EQ(state.CircleAngle(), 30);
    EXPECT_EQ(state.CircleOffsets(), (ChartPoint{7, 13}));
    Run(ID_CIRCLE_FORWARD);
    Run(ID_CIRCLE_FORWARD);
    EXPECT_EQ(state.CircleOffsets(), (ChartPoint{15, 0}));
    for (int i = 0; i < 3; ++i)
        Run(ID_CIRCLE_FORWARD);
    EXPECT_EQ(state.CircleOffsets(), (ChartPoint{0, -15}));
    EXPECT_FALSE(StateOf(ID_MODE_NORMAL).checked);
    // A click leaves circle mode.
    Click(100, 100);
    EXPECT_TRUE(StateOf(ID_MODE_NORMAL).checked);
}

TEST_F(ChartStateTest, CircleAngleWrapsAroundAtBothEnds) {
    for (int i = 0; i < 12; ++i)
        Run(ID_CIRCLE_FORWARD);
    EXPECT_EQ(state.CircleAngle(), 360);
    Run(ID_CIRCLE_FORWARD);
    EXPECT_EQ(state.CircleAngle(), 30);
    Run(ID_CIRCLE_BACK);
    EXPECT_EQ(state.CircleAngle(), 0);
    Run(ID_CIRCLE_BACK);
    EXPECT_EQ(state.CircleAngle(), 330);
}

TEST_F(ChartStateTest, GenderCommandsSwitchTheListAndTheVoiceTilt) {
    EXPECT_TRUE(StateOf(ID_MALE).checked);
    EXPECT_EQ(state.VowelToPlay()->tilt, 0);
    Run(ID_FEMALE);
    EXPECT_EQ(state.Gender(), 0);
    EXPECT_TRUE(StateOf(ID_FEMALE).checked);
    EXPECT_FALSE(StateOf(ID_MALE).checked);
    const ChartScale scale;
    EXPECT_EQ(state.SelectedPoint(),
              (ChartPoint{FrequencyToX(scale, 260), FrequencyToY(scale, 2600)}));
    EXPECT_EQ(state.UpdateF3(), 3000);
    EXPECT_EQ(state.VowelToPlay()->tilt, 6);
}

TEST_F(ChartStateTest, VoiceCommandsChooseTheVoiceFile) {
    EXPECT_EQ(state.VoiceFile(), "/voices/test.dat");
    EXPECT_TRUE(StateOf(ID_VOICE_FIRST).checked);
    Run(ID_VOICE_FIRST + 1);
    EXPECT_EQ(state.VoiceFile(), "/voices/second.dat");
    EXPECT_FALSE(StateOf(ID_VOICE_FIRST).checked);
    EXPECT_TRUE(StateOf(ID_VOICE_FIRST + 1).checked);
    Run(ID_VOICE_FIRST + 5); // no such voice: nothing changes
    EXPECT_EQ(state.VoiceFile(), "/voices/second.dat");
    state.InitialUpdate("/voices"); // New or Open go back to the first voice
    EXPECT_TRUE(StateOf(ID_VOICE_FIRST).checked);
}

TEST_F(ChartStateTest, MapsAreRefusedInZoomModeAndExcludeEachOther) {
    Run(ID_FORMANT_MAP);
    Run(ID_USER_MAP);
    EXPECT_FALSE(StateOf(ID_FORMANT_MAP).checked);
    EXPECT_TRUE(StateOf(ID_USER_MAP).checked);
    Run(ID_USER_MAP);
    for (int id : {ID_FORMANT_MAP, ID_USER_MAP, ID_MODIFIED_MAP, ID_MODIFIED_VOWELS})
        EXPECT_FALSE(StateOf(id).checked) << id;
    Run(ID_FORMANT_MAP);
    Run(ID_ZOOM); // zoom switches the formant map off
    EXPECT_FALSE(StateOf(ID_FORMANT_MAP).checked);
    Run(ID_FORMANT_MAP);
    Run(ID_MODIFIED_MAP);
    EXPECT_EQ(RefusalTexts(),
              (std::vector<std::string>{"Can't show Formantmap while Zoom is active.",
                                        "Can't show User-Formantmap while Zoom is active."}));
    EXPECT_EQ(refusals[0].caption, "Sorry");
    EXPECT_FALSE(StateOf(ID_FORMANT_MAP).checked);
    Run(ID_MODIFIED_VOWELS); // allowed in zoom mode
    EXPECT_TRUE(StateOf(ID_MODIFIED_VOWELS).checked);
}

TEST_F(ChartStateTest, ZoomKeepsThePointsFrequencies) {
    Click(200, 150);
    state.ComputeFormants(); // as the paint does
    const int f1 = state.F1();
    const int f2 = state.F2();
    Run(ID_ZOOM);
    const ChartScale zoomed = state.Scale();
    EXPECT_TRUE(zoomed.zoom);
    EXPECT_EQ(zoomed.centreF1, 250); // the selected list vowel is the centre
    EXPECT_EQ(state.SelectedPoint(),
              (ChartPoint{FrequencyToX(zoomed, f1), FrequencyToY(zoomed, f2)}));
    EXPECT_TRUE(StateOf(ID_SHOW_GRID).enabled);
    EXPECT_TRUE(StateOf(ID_INDICATOR_ZOOM).enabled);
}

TEST_F(ChartStateTest, StatusPanesAndModeStates) {
    EXPECT_FALSE(StateOf(ID_INDICATOR_ZOOM).enabled);
    EXPECT_FALSE(StateOf(ID_SHOW_GRID).enabled);
    EXPECT_STREQ(StateOf(ID_INDICATOR_SCALE).text, "Herz");
    Run(ID_SCALE_BARK);
    EXPECT_STREQ(StateOf(ID_INDICATOR_SCALE).text, "Bark");
    Run(ID_MODE_DIPHTHONG);
    Run(ID_CIRCLE_FORWARD); // both modes on: Normal is not checked
    EXPECT_TRUE(StateOf(ID_MODE_DIPHTHONG).checked);
    EXPECT_FALSE(StateOf(ID_MODE_NORMAL).checked);
    // Zoom Parameters only works in zoom mode.
    EXPECT_TRUE(StateOf(ID_ZOOM_PARAMETERS).handled);
    EXPECT_FALSE(StateOf(ID_ZOOM_PARAMETERS).enabled);
}

// The vowel the chart plays: the circle point after a change of the chart, the centre for
// the Play command; a diphthong glides to its end point either way.
TEST_F(ChartStateTest, VowelToPlayFollowsTheModes) {
    Click(200, 150);
    EXPECT_EQ(state.VowelToPlay(PlayTrigger::PlayCommand), std::nullopt); // nothing painted
    state.ComputeFormants();
    const int f1 = XToFrequency(Herz(), 150);
    const int f2 = YToFrequency(Herz(), 150);
    const ChartVowel steady{f1, f2, state.F3(), 0, 0, 100, 0, "/voices/test.dat"};
    EXPECT_EQ(state.VowelToPlay(), steady);
    EXPECT_EQ(state.VowelToPlay(PlayTrigger::PlayCommand), steady);
    Run(ID_CIRCLE_FORWARD); // 30 degrees: 7 left of and 13 above the point
    ChartVowel circle = steady;
    circle.f1 = XToFrequency(Herz(), 143);
    circle.f2 = YToFrequency(Herz(), 137);
    EXPECT_EQ(state.VowelToPlay(), circle);
    EXPECT_EQ(state.VowelToPlay(PlayTrigger::PlayCommand), steady);
    Run(ID_MODE_DIPHTHONG);
    state.RightClick({300, 300});
    ChartVowel diphthong = steady;
    diphthong.f1End = XToFrequency(Herz(), 300);
    diphthong.f2End = YToFrequency(Herz(), 300);
    EXPECT_EQ(state.VowelToPlay(), diphthong);
    EXPECT_EQ(state.VowelToPlay(PlayTrigger::PlayCommand), diphthong);
    // Playing after the paint takes the request and leaves the duration for the dialog.
    state.MoveLengthSlider(41);
    EXPECT_TRUE(state.IsPlayPending());
    EXPECT_EQ(state.PlayAfterPaint()->duration, 60);
    EXPECT_FALSE(state.IsPlayPending());
    EXPECT_EQ(state.LastDuration(), 60);
}

TEST_F(ChartStateTest, ReferenceVowelsAndAxisLabelsRedrawWithoutPlaying) {
    state.PlayAfterPaint();
    state.TakeChartRedraw();
    ReferenceChoice reference;
    reference.choice = "peterson-barney-1952:women";
    reference.description = "Reference vowels: Peterson & Barney 1952: women";
    reference.vowels = {{"i", {300, 320}, {2300, 2400}, 310, 2350}};
    state.SetReference(reference);
    state.SetReferenceSpread(true);
    state.SetAxisLabels(true);
    EXPECT_TRUE(state.TakeChartRedraw());
    EXPECT_FALSE(state.IsPlayPending());
    EXPECT_TRUE(StateOf(ID_REFERENCE_FIRST + 1).checked);
    EXPECT_FALSE(StateOf(ID_REFERENCE_NONE).checked);
    EXPECT_FALSE(StateOf(ID_REFERENCE_LOAD).checked);
    EXPECT_EQ(std::string(StateOf(ID_INDICATOR_REFERENCE).text), reference.description);

    // The tooltip's vowel: the one whose mean is drawn within the radius.
    const double x = FrequencyToX(Herz(), 310);
    const double y = FrequencyToY(Herz(), 2350);
    ASSERT_NE(state.ReferenceVowelNear(x + 3, y - 3, 10), nullptr);
    EXPECT_EQ(state.ReferenceVowelNear(x + 3, y - 3, 10)->symbol, "i");
    EXPECT_EQ(state.ReferenceVowelNear(x + 30, y, 10), nullptr);

    reference.choice = "/home/me/vowels.csv";
    state.SetReference(reference);
    EXPECT_TRUE(StateOf(ID_REFERENCE_LOAD).checked);
    state.SetReference(std::nullopt);
    EXPECT_TRUE(StateOf(ID_REFERENCE_NONE).checked);
    EXPECT_FALSE(StateOf(ID_INDICATOR_REFERENCE).enabled);
    EXPECT_FALSE(state.IsPlayPending());
}

} // namespace
