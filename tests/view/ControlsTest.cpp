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
    const int expected = AutomaticF3(view->State().Decision().F1(), view->State().Decision().F2());
    EXPECT_EQ(view->F3Value()->text(), QString::number(expected));
    EXPECT_EQ(view->F3Slider()->value(), expected / 100);
    view->OnCommand(ID_AUTO_F3);
    EXPECT_TRUE(view->F3Slider()->isEnabled());
}

TEST_F(ViewTest, StoredOptionsAreAppliedWhenValidAndWrittenBack) {
    CreateView();
    EXPECT_EQ(view->State().Shown().GridWidth(), 25); // nothing stored: the defaults
    EXPECT_EQ(view->State().Sound().FemaleTilt(), 6);
    view.reset();
    profile.WriteInt("Options", "Zoomfactor", 40);
    profile.WriteInt("Options", "Femaletilt", 12);
    CreateView();
    EXPECT_EQ(view->State().Shown().GridWidth(), 40);
    EXPECT_EQ(view->State().Sound().FemaleTilt(), 12);
    view.reset();
    profile.WriteInt("Options", "Zoomfactor", 0);
    profile.WriteInt("Options", "Femaletilt", 25);
    CreateView();
    EXPECT_EQ(view->State().Shown().GridWidth(), 25);
    EXPECT_EQ(view->State().Sound().FemaleTilt(), 6);
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

TEST_F(ViewTest, SetButtonSwitchesBetweenCardinalAndNative) {
    CreateView();
    doc.StoreEntry(1, 500, 1000, 2500, 50, kMale, kNative);
    view->SetButton()->click();
    EXPECT_EQ(view->State().List().ShownSet(), VowelSet::Native);
    EXPECT_EQ(view->SetButton()->text(), "Native");
    EXPECT_TRUE(view->VowelList()->item(1)->text().endsWith(QChar(0x2014)));
    view->OnCommand(ID_SWITCH_SET);
    EXPECT_EQ(view->SetButton()->text(), "Cardinal");
    EXPECT_FALSE(view->VowelList()->item(1)->text().endsWith(QChar(0x2014)));
}

} // namespace
