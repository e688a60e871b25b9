// Tests of choosing a point, playing it, the status text, and storing and resetting vowels.
#include "ViewFixture.h"

#include "audio/SoundPlayer.h"

#include <QLabel>
#include <QListWidget>
#include <QSlider>
#include <QTest>

#include <filesystem>

namespace {

ChartScale Herz() {
    return ChartScale{};
}

TEST_F(ViewTest, TheFirstVowelOfTheListPlaysAfterTheFirstPaint) {
    CreateView();
    EXPECT_EQ(view->VowelList()->currentRow(), 0);
    EXPECT_EQ(view->State().Selection().SelectedPoint(),
              (ChartPoint{FrequencyToX(Herz(), 250), FrequencyToY(Herz(), 2100)}));
    EXPECT_TRUE(player.played.empty());
    PaintAndPlay();
    ASSERT_EQ(player.played.size(), 1u);
    EXPECT_EQ(player.played[0], TempWav());
    EXPECT_GT(std::filesystem::file_size(TempWav()), 44u);
    EXPECT_EQ(view->State().Decision().F1(), XToFrequency(Herz(), FrequencyToX(Herz(), 250)));
    EXPECT_EQ(view->State().Decision().F2(), YToFrequency(Herz(), FrequencyToY(Herz(), 2100)));
    // The sound was stopped and the vowel volume applied before the synthesis.
    EXPECT_GE(player.stops, 1);
    ASSERT_FALSE(volume.setVolumes.empty());
    EXPECT_EQ(volume.setVolumes.back(), 40u);
    EXPECT_TRUE(messages.Messages().empty());
    // A repaint that shows nothing new (focus, a box over the window) only draws.
    std::filesystem::remove(TempWav());
    EXPECT_EQ(PaintAndPlay(), PaintAndPlay());
    EXPECT_EQ(player.played.size(), 1u);
    EXPECT_FALSE(std::filesystem::exists(TempWav()));
}

// Sees whether each message is shown while a paint of the test is under way.
class PaintWatchingSink : public IMessageSink {
public:
    MsgAnswer Show(const MessageRequest& request) override {
        shown.push_back(request.text + (painting ? " (while painting)" : ""));
        return MsgAnswer::Ok;
    }
    bool painting = false;
    std::vector<std::string> shown;
};

TEST_F(ViewTest, ARenderThatFailsIsReportedAfterThePaint) {
    CreateView();
    g_strTempDir = temp.File("missing-folder");
    PaintWatchingSink sink;
    ScopedMessageSink guard(&sink);
    sink.painting = true;
    Paint();
    sink.painting = false;
    EXPECT_TRUE(sink.shown.empty());
    QCoreApplication::sendPostedEvents();
    ASSERT_EQ(sink.shown.size(), 1u);
    EXPECT_EQ(sink.shown[0].find("while painting"), std::string::npos) << sink.shown[0];
    EXPECT_TRUE(player.played.empty());
}

// Counts the plays that came before each paint of the watched widget.
class PaintWatcher : public QObject {
public:
    PaintWatcher(QWidget* widget, const FakePlayer& player) : m_player(player) {
        widget->installEventFilter(this);
    }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            playsAtPaint.push_back(m_player.played.size());
        return false;
    }
    std::vector<size_t> playsAtPaint;

private:
    const FakePlayer& m_player;
};

// The window shows a change before it is heard, the first vowel at start too; a change of
// scale between a click and its sound plays the point once, as the chart then stands.
TEST_F(ViewTest, AChangeIsHeardAfterTheRepaintItAskedFor) {
    CreateView();
    PaintWatcher watcher(view.get(), player);
    view->show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !player.played.empty(); }, 5000));
    ASSERT_FALSE(watcher.playsAtPaint.empty());
    EXPECT_EQ(watcher.playsAtPaint.front(), 0u);
    QTest::qWait(30);
    watcher.playsAtPaint.clear();
    player.played.clear();
    view->OnLButtonDown(200, 150);
    view->OnCommand(ID_ZOOM);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !player.played.empty(); }, 5000));
    QTest::qWait(30);
    EXPECT_EQ(player.played.size(), 1u);
    ASSERT_FALSE(watcher.playsAtPaint.empty());
    EXPECT_EQ(watcher.playsAtPaint.front(), 0u);
    // The zoomed point keeps the clicked frequencies, not those of the vowel before it.
    const ChartState& state = view->State();
    const int clickedF1 = XToFrequency(Herz(), 150);
    EXPECT_NEAR(state.Decision().F1(), clickedF1, clickedF1 * 0.05);
    const ChartPoint point = state.Selection().SelectedPoint();
    EXPECT_EQ(state.Decision().F1(), XToFrequency(state.Scale(), point.x));
    EXPECT_EQ(state.Decision().F2(), YToFrequency(state.Scale(), point.y));
}

TEST_F(ViewTest, RealPlayerDecodesWhatAClickRenders) {
    CSoundPlayer realPlayer;
    view = std::make_unique<CTundrelView>(&doc, &volume, &realPlayer);
    view->SetVoiceFiles(&voiceFiles);
    view->OnInitialUpdate();
    view->OnLButtonDown(200, 150);
    PaintAndPlay();
    // Started through a sound server, or no output on a machine without one; never a
    // "temp.wav" that the player cannot decode.
    EXPECT_NE(realPlayer.LastResult(), CSoundPlayer::PlayResult::NotDecoded);
    EXPECT_NE(realPlayer.LastResult(), CSoundPlayer::PlayResult::None);
    EXPECT_EQ(realPlayer.IsPlaying(), realPlayer.LastResult() == CSoundPlayer::PlayResult::Started);
    view.reset();
}

TEST_F(ViewTest, ZoomedClickSnapsToTheCentreOfItsGridCell) {
    CreateView();
    view->OnCommand(ID_ZOOM);
    QTest::mouseClick(view.get(), Qt::LeftButton, {}, QPoint(87, 60));
    EXPECT_EQ(view->State().Selection().SelectedPoint(), (ChartPoint{37, 62}));
    view->OnRButtonDown(87, 60);
    EXPECT_EQ(view->State().Selection().DiphthongPoint(), (ChartPoint{37, 62}));
}

TEST_F(ViewTest, StatusTextShowsTheFormantsOnlyWhenAskedFor) {
    CreateView();
    Paint();
    EXPECT_EQ(view->StatusText(), "Information hidden !");
    view->OnCommand(ID_FORMANT_POSITION);
    view->OnLButtonDown(100, 50);
    Paint();
    EXPECT_EQ(view->StatusText(), QString("F1:%1 Hz F2:%2Hz F3:3100 Hz x:50 y:50")
                                      .arg(XToFrequency(Herz(), 50))
                                      .arg(YToFrequency(Herz(), 50)));
}

TEST_F(ViewTest, SaveStoresThePointIntoTheSelectedVowel) {
    CreateView();
    view->VowelList()->setCurrentRow(2);
    view->OnLButtonDown(150, 100);
    view->SaveVowel();
    EXPECT_TRUE(doc.IsModified());
    EXPECT_TRUE(doc.IsEntryModified(2, kMale, kCardinal));
    EXPECT_EQ(doc.GetEntryF1(2, kMale, kCardinal), XToFrequency(Herz(), 100));
    EXPECT_EQ(doc.GetEntryF2(2, kMale, kCardinal), YToFrequency(Herz(), 100));
    EXPECT_EQ(doc.GetEntryF3(2, kMale, kCardinal), 2700);
    EXPECT_EQ(doc.GetEntryLen(2, kMale, kCardinal), 100);
    EXPECT_TRUE(view->VowelList()->item(2)->text().endsWith(QChar(0x2014)));
    EXPECT_FALSE(view->VowelList()->item(1)->text().endsWith(QChar(0x2014)));
    EXPECT_EQ(view->VowelList()->item(2)->data(Qt::UserRole).toInt(), 0x45);
    EXPECT_TRUE(messages.Messages().empty());
}

TEST_F(ViewTest, SaveIsRefusedWithoutSelectionOrWithTheModifiedMap) {
    CreateView();
    view->OnCommand(ID_NEXT_TYPE); // outside zoom mode paging clears the selection
    view->SaveVowel();
    ASSERT_EQ(messages.Messages().size(), 1u);
    EXPECT_EQ(messages.Messages()[0].text, "Please first choose Position\n to store Vowel to !");
    EXPECT_EQ(messages.Messages()[0].caption, "Warning");
    EXPECT_EQ(messages.Messages()[0].icon, MsgIcon::Warning);
    view->OnCommand(ID_MODIFIED_MAP);
    view->SaveVowel();
    view->ResetVowel();
    EXPECT_EQ(messages.Texts(),
              (std::vector<std::string>{"Please first choose Position\n to store Vowel to !",
                                        "Can't save while showing modified Map!",
                                        "Can't initialize while showing modified Map!"}));
    EXPECT_EQ(messages.Messages()[1].caption, "Sorry");
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(ViewTest, ResetPutsThePresetBack) {
    CreateView();
    view->VowelList()->setCurrentRow(3);
    view->OnLButtonDown(300, 300);
    view->SetDuration(40);
    view->SaveVowel();
    view->ResetVowel();
    EXPECT_FALSE(doc.IsEntryModified(3, kMale, kCardinal));
    EXPECT_TRUE(doc.IsModified()); // resetting leaves the changed flag alone
    EXPECT_EQ(doc.GetEntryF1(3, kMale, kCardinal), 850);
    EXPECT_EQ(view->State().Selection().SelectedPoint(),
              (ChartPoint{FrequencyToX(Herz(), 850), FrequencyToY(Herz(), 1500)}));
    EXPECT_EQ(view->GetDuration(), 100);
    EXPECT_EQ(view->GetF3(), 2700);
    EXPECT_FALSE(view->VowelList()->item(3)->text().endsWith(QChar(0x2014)));
}

TEST_F(ViewTest, SelectingAListVowelMovesToItsStoredPosition) {
    CreateView();
    doc.StoreEntry(5, 500, 1000, 2500, 50, kMale, kCardinal);
    view->FillVowelList();
    view->VowelList()->setCurrentRow(5);
    EXPECT_EQ(view->State().Selection().SelectedPoint(),
              (ChartPoint{FrequencyToX(Herz(), 500), FrequencyToY(Herz(), 1000)}));
    EXPECT_EQ(view->GetF3(), 2500);
    EXPECT_EQ(view->GetDuration(), 50);
    view->VowelList()->setCurrentRow(4); // unmodified: the length stays
    EXPECT_EQ(view->GetDuration(), 50);
    EXPECT_EQ(view->GetF3(), 2700);
}

TEST_F(ViewTest, PagingIsRefusedWhileTheModifiedVowelsAreListed) {
    CreateView();
    view->OnCommand(ID_MODIFIED_VOWELS);
    view->OnCommand(ID_NEXT_TYPE);
    view->OnCommand(ID_NEXT_TYPE);
    EXPECT_EQ(view->State().List().ShownType(), VowelType::Further);
    EXPECT_EQ(messages.Texts(), std::vector<std::string>(
                                    2, "All modified Vowels are shown. There are no other pages."));
}

TEST_F(ViewTest, PlayRendersTheCurrentPointWithoutPainting) {
    CreateView();
    Paint();
    player.played.clear();
    view->OnCommand(ID_PLAY);
    EXPECT_EQ(player.played, std::vector<std::string>{TempWav()});
}

TEST_F(ViewTest, DiphthongAndCircleModesStillPlayOncePerChange) {
    CreateView();
    view->OnCommand(ID_MODE_DIPHTHONG);
    view->OnRButtonDown(300, 300);
    PaintAndPlay();
    view->OnCommand(ID_CIRCLE_FORWARD);
    PaintAndPlay();
    EXPECT_EQ(player.played.size(), 2u);
    EXPECT_TRUE(messages.Messages().empty());
}

} // namespace
