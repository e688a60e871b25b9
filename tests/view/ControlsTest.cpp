// Tests of the sliders, the options, the volume control and the commands' states.
#include "ViewFixture.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>

namespace {

TEST_F(ViewTest, LengthSliderRunsFromHundredAtTheTop) {
    CreateView();
    EXPECT_EQ(view->LengthSlider()->value(), 1);
    EXPECT_EQ(view->GetDuration(), 100);
    EXPECT_TRUE(view->LengthSlider()->invertedAppearance()); // position 1 is at the top
    view->LengthSlider()->setValue(100);
    EXPECT_EQ(view->GetDuration(), 1);
    EXPECT_EQ(view->LengthValue()->text(), "1");
    view->SetDuration(100);
    EXPECT_EQ(view->LengthSlider()->value(), 1);
    EXPECT_EQ(view->LengthValue()->text(), "100");
}

TEST_F(ViewTest, F3SliderShowsTheValueInFull) {
    CreateView();
    EXPECT_EQ(view->F3Slider()->minimum(), 13);
    EXPECT_EQ(view->F3Slider()->maximum(), 34);
    view->SetF3(2476);
    EXPECT_EQ(view->F3Slider()->value(), 24);
    EXPECT_EQ(view->F3Value()->text(), "2476");
    view->SetF3(3900); // the slider stops at its end, the label keeps the value
    EXPECT_EQ(view->F3Slider()->value(), 34);
    EXPECT_EQ(view->F3Value()->text(), "3900");
}

TEST_F(ViewTest, ReleasingASliderPlaysOnceAndDraggingOnlyUpdatesTheLabel) {
    CreateView();
    Paint();
    player.played.clear();
    QSlider* slider = view->F3Slider();
    slider->setSliderDown(true);
    slider->setValue(30);
    slider->setValue(31);
    EXPECT_EQ(view->F3Value()->text(), "3100");
    EXPECT_TRUE(player.played.empty());
    slider->setSliderDown(false);
    EXPECT_EQ(player.played.size(), 1u);
    view->LengthSlider()->triggerAction(QAbstractSlider::SliderPageStepAdd); // a key press
    EXPECT_EQ(view->LengthValue()->text(), "90");
    EXPECT_EQ(player.played.size(), 2u);
}

TEST_F(ViewTest, AutomaticF3FollowsTheFormantsAndLocksTheSlider) {
    CreateView();
    view->OnCommand(ID_AUTO_F3);
    EXPECT_TRUE(view->OnUpdateCommand(ID_AUTO_F3).checked);
    EXPECT_FALSE(view->F3Slider()->isEnabled());
    Paint();
    const int expected = AutomaticF3(view->State().F1(), view->State().F2());
    EXPECT_EQ(view->F3Value()->text(), QString::number(expected));
    EXPECT_EQ(view->F3Slider()->value(), expected / 100);
    view->OnCommand(ID_AUTO_F3);
    EXPECT_TRUE(view->F3Slider()->isEnabled());
}

TEST_F(ViewTest, StoredOptionsAreAppliedWhenValidAndWrittenBack) {
    CreateView();
    EXPECT_EQ(view->State().GridWidth(), 25); // nothing stored: the defaults
    EXPECT_EQ(view->State().FemaleTilt(), 6);
    view.reset();
    profile.WriteInt("Options", "Zoomfactor", 40);
    profile.WriteInt("Options", "Femaletilt", 12);
    CreateView();
    EXPECT_EQ(view->State().GridWidth(), 40);
    EXPECT_EQ(view->State().FemaleTilt(), 12);
    view.reset();
    profile.WriteInt("Options", "Zoomfactor", 0);
    profile.WriteInt("Options", "Femaletilt", 25);
    CreateView();
    EXPECT_EQ(view->State().GridWidth(), 25);
    EXPECT_EQ(view->State().FemaleTilt(), 6);
    view->OnDestroy();
    EXPECT_EQ(profile.GetInt("Options", "Zoomfactor", -1), 25);
    EXPECT_EQ(profile.GetInt("Options", "Femaletilt", -1), 6);
}

TEST_F(ViewTest, VolumeControlIsActivatedAndNotMutedAtTheEnd) {
    CreateView();
    EXPECT_EQ(volume.activations, 1);
    view->OnDestroy();
    view->OnDestroy();
    EXPECT_EQ(volume.deactivations, 0); // a control that cannot tell its old state is left
    EXPECT_TRUE(messages.Messages().empty());
}

TEST_F(ViewTest, MissingVolumeControlIsReportedOnce) {
    volume.available = false;
    CreateView();
    EXPECT_EQ(volume.activations, 0);
    ASSERT_EQ(messages.Messages().size(), 1u);
    EXPECT_EQ(messages.Messages()[0].text, "VolumeCtrl is not available.");
    EXPECT_EQ(messages.Messages()[0].caption, "Error");
    Paint();
    EXPECT_EQ(messages.Messages().size(), 1u);
}

TEST_F(ViewTest, GenderCommandsSwitchTheListAndTheVoiceTilt) {
    CreateView();
    EXPECT_TRUE(view->OnUpdateCommand(ID_MALE).checked);
    view->OnCommand(ID_FEMALE);
    EXPECT_EQ(view->State().Gender(), 0);
    EXPECT_TRUE(view->OnUpdateCommand(ID_FEMALE).checked);
    EXPECT_FALSE(view->OnUpdateCommand(ID_MALE).checked);
    const ChartScale scale;
    EXPECT_EQ(view->State().SelectedPoint(),
              (ChartPoint{FrequencyToX(scale, 260), FrequencyToY(scale, 2600)}));
    EXPECT_EQ(view->GetF3(), 3000);
}

TEST_F(ViewTest, VoiceCommandsChooseTheVoiceFile) {
    CreateView();
    EXPECT_EQ(view->State().VoiceFile(), temp.File("test.dat"));
    EXPECT_TRUE(view->OnUpdateCommand(ID_VOICE_FIRST).checked);
    view->OnCommand(ID_VOICE_FIRST + 1);
    EXPECT_EQ(view->State().VoiceFile(), temp.File("second.dat"));
    EXPECT_FALSE(view->OnUpdateCommand(ID_VOICE_FIRST).checked);
    EXPECT_TRUE(view->OnUpdateCommand(ID_VOICE_FIRST + 1).checked);
    view->OnCommand(ID_VOICE_FIRST + 5); // no such voice: nothing changes
    EXPECT_EQ(view->State().VoiceFile(), temp.File("second.dat"));
    view->OnInitialUpdate(); // New or Open go back to the first voice
    EXPECT_TRUE(view->OnUpdateCommand(ID_VOICE_FIRST).checked);
}

TEST_F(ViewTest, SetButtonSwitchesBetweenCardinalAndNative) {
    CreateView();
    doc.StoreEntry(1, 500, 1000, 2500, 50, kMale, kNative);
    view->SetButton()->click();
    EXPECT_EQ(view->State().VowelSet(), 1);
    EXPECT_EQ(view->SetButton()->text(), "Native");
    EXPECT_TRUE(view->VowelList()->item(1)->text().endsWith(QChar(0x2014)));
    view->OnCommand(ID_SWITCH_SET);
    EXPECT_EQ(view->SetButton()->text(), "Cardinal");
    EXPECT_FALSE(view->VowelList()->item(1)->text().endsWith(QChar(0x2014)));
}

TEST_F(ViewTest, MapsAreRefusedInZoomModeAndExcludeEachOther) {
    CreateView();
    view->OnCommand(ID_FORMANT_MAP);
    view->OnCommand(ID_USER_MAP);
    EXPECT_FALSE(view->OnUpdateCommand(ID_FORMANT_MAP).checked);
    EXPECT_TRUE(view->OnUpdateCommand(ID_USER_MAP).checked);
    view->OnCommand(ID_USER_MAP);
    for (int id : {ID_FORMANT_MAP, ID_USER_MAP, ID_MODIFIED_MAP, ID_MODIFIED_VOWELS})
        EXPECT_FALSE(view->OnUpdateCommand(id).checked) << id;
    view->OnCommand(ID_FORMANT_MAP);
    view->OnCommand(ID_ZOOM); // zoom switches the formant map off
    EXPECT_FALSE(view->OnUpdateCommand(ID_FORMANT_MAP).checked);
    view->OnCommand(ID_FORMANT_MAP);
    view->OnCommand(ID_MODIFIED_MAP);
    EXPECT_EQ(messages.Texts(),
              (std::vector<std::string>{"Can't show Formantmap while Zoom is active.",
                                        "Can't show User-Formantmap while Zoom is active."}));
    EXPECT_EQ(messages.Messages()[0].caption, "Sorry");
    EXPECT_FALSE(view->OnUpdateCommand(ID_FORMANT_MAP).checked);
    view->OnCommand(ID_MODIFIED_VOWELS); // allowed in zoom mode
    EXPECT_TRUE(view->OnUpdateCommand(ID_MODIFIED_VOWELS).checked);
}

TEST_F(ViewTest, ZoomKeepsThePointsFrequencies) {
    CreateView();
    view->OnLButtonDown(200, 150);
    Paint();
    const int f1 = view->State().F1();
    const int f2 = view->State().F2();
    view->OnCommand(ID_ZOOM);
    const ChartScale zoomed = view->State().Scale();
    EXPECT_TRUE(zoomed.zoom);
    EXPECT_EQ(zoomed.centreF1, 250); // the selected list vowel is the centre
    EXPECT_EQ(view->State().SelectedPoint(),
              (ChartPoint{FrequencyToX(zoomed, f1), FrequencyToY(zoomed, f2)}));
    EXPECT_TRUE(view->OnUpdateCommand(ID_SHOW_GRID).enabled);
    EXPECT_TRUE(view->OnUpdateCommand(ID_INDICATOR_ZOOM).enabled);
}

TEST_F(ViewTest, StatusPanesAndModeStates) {
    CreateView();
    EXPECT_FALSE(view->OnUpdateCommand(ID_INDICATOR_ZOOM).enabled);
    EXPECT_FALSE(view->OnUpdateCommand(ID_SHOW_GRID).enabled);
    EXPECT_STREQ(view->OnUpdateCommand(ID_INDICATOR_SCALE).text, "Herz");
    view->OnCommand(ID_SCALE_BARK);
    EXPECT_STREQ(view->OnUpdateCommand(ID_INDICATOR_SCALE).text, "Bark");
    view->OnCommand(ID_MODE_DIPHTHONG);
    view->OnCommand(ID_CIRCLE_FORWARD); // both modes on: Normal is not checked
    EXPECT_TRUE(view->OnUpdateCommand(ID_MODE_DIPHTHONG).checked);
    EXPECT_FALSE(view->OnUpdateCommand(ID_MODE_NORMAL).checked);
    // Zoom Parameters only works in zoom mode.
    EXPECT_TRUE(view->OnUpdateCommand(ID_ZOOM_PARAMETERS).handled);
    EXPECT_FALSE(view->OnUpdateCommand(ID_ZOOM_PARAMETERS).enabled);
}

} // namespace
