// Tests of the wave list window: its entries, selection, playback, list files, sliders,
// docking and its life beside the view, with scripted file dialogs.
#include "ViewFixture.h"

#include "base/FileDialogs.h"
#include "drawing/ChartDrawing.h"
#include "stimuli/VowelStimulus.h"
#include "view/WaveListDlg.h"

#include <QApplication>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QThread>

#include <sndfile.h>

#include <deque>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

namespace fs = std::filesystem;

std::string ReadFileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFileText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

class WaveListTest : public ViewTest {
protected:
    void SetUp() override {
        ViewTest::SetUp();
        startDir = CurrentDirectory();
        SetFileDialogs(&dialogs);
        fs::create_directories(Sounds());
        CreateView();
    }

    void TearDown() override {
        SetFileDialogs(nullptr);
        ChangeDirectory(startDir);
        ViewTest::TearDown();
    }

    std::string Sounds() const { return temp.File("sounds"); }
    std::string Sound(const std::string& name) const { return Sounds() + "/" + name; }

    CWaveListDlg& Open() {
        view->OnCommand(ID_WAVELIST_WINDOW);
        EXPECT_TRUE(view->IsWaveListOpen());
        return *view->WaveList();
    }

    // Opens the window and adds a.wav, b.wav and c.wav from the sounds folder.
    CWaveListDlg& OpenWithThreeFiles() {
        CWaveListDlg& list = Open();
        dialogs.Choose({Sound("a.wav"), Sound("b.wav"), Sound("c.wav")});
        Click(IDC_WAVELIST_ADD);
        return list;
    }

    template <class Widget = QPushButton> Widget* Control(int id) {
        return view->WaveList()->Window()->findChild<Widget*>(QString::number(id));
    }

    void Click(int id) { QTest::mouseClick(Control(id), Qt::LeftButton); }

    // Lets the posted requests and deferred deletions run, as the event loop would.
    static void RunEvents() {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    QStringList Lines() const {
        QStringList lines;
        for (int i = 0; i < view->WaveList()->List()->count(); ++i)
            lines << view->WaveList()->List()->item(i)->text();
        return lines;
    }

    ScriptedFileDialogs dialogs;
    std::string startDir;
};

TEST_F(WaveListTest, AddTakesSeveralFilesAndRemembersTheirFolder) {
    CWaveListDlg& list = OpenWithThreeFiles();
    EXPECT_EQ(dialogs.lastCall, "open several  Wave PCM (*.wav)");
    EXPECT_EQ(Lines(), (QStringList{"a.wav", "b.wav", "c.wav"}));
    EXPECT_EQ(list.Files(),
              (std::vector<std::string>{Sound("a.wav"), Sound("b.wav"), Sound("c.wav")}));
    EXPECT_EQ(profile.GetString("Directories", "Wavelist", ""), Sounds());
    EXPECT_EQ(CurrentDirectory(), Sounds());
    EXPECT_EQ(list.SelectedIndex(), 0); // what was added is selected, ready to play
    dialogs.Choose({Sound("c.wav")});
    Click(IDC_WAVELIST_ADD);
    EXPECT_EQ(list.SelectedIndex(), 3);
    Click(IDC_WAVELIST_REMOVE);
    // The next dialog starts there; a cancelled one changes nothing.
    ChangeDirectory(startDir);
    Click(IDC_WAVELIST_ADD);
    EXPECT_EQ(dialogs.lastCall, "open several " + Sounds() + " Wave PCM (*.wav)");
    EXPECT_EQ(list.Files().size(), 3u);
    EXPECT_EQ(CurrentDirectory(), startDir);
}

TEST_F(WaveListTest, RemoveSelectsTheNextLineOrNoneWhenEmpty) {
    CWaveListDlg& list = OpenWithThreeFiles();
    list.List()->setCurrentRow(2);
    Click(IDC_WAVELIST_REMOVE);
    EXPECT_EQ(Lines(), (QStringList{"a.wav", "b.wav"}));
    EXPECT_EQ(list.SelectedIndex(), 1); // the new last line
    list.List()->setCurrentRow(0);
    Click(IDC_WAVELIST_REMOVE);
    EXPECT_EQ(list.Files(), std::vector<std::string>{Sound("b.wav")});
    EXPECT_EQ(list.SelectedIndex(), 0);
    Click(IDC_WAVELIST_REMOVE);
    EXPECT_TRUE(list.Files().empty());
    EXPECT_EQ(list.SelectedIndex(), -1);
    Click(IDC_WAVELIST_REMOVE); // nothing left to remove
    Click(IDC_WAVELIST_PLAY);
    EXPECT_TRUE(player.played.empty());
}

TEST_F(WaveListTest, ClosedWindowKeepsTheListAndReopensOnLineZero) {
    view->OnCommand(ID_PLAY_WAVE_FILE); // never opened: nothing to play
    CWaveListDlg& list = OpenWithThreeFiles();
    list.List()->setCurrentRow(2);
    list.WavSlider()->setValue(70);
    Click(IDC_WAVELIST_CLOSE);
    EXPECT_TRUE(view->IsWaveListOpen()); // closed from the event loop, not inside the click
    RunEvents();
    EXPECT_FALSE(view->OnUpdateCommand(ID_WAVELIST_WINDOW).checked);
    // Enter while it is closed plays the entry that was selected.
    view->OnCommand(ID_PLAY_WAVE_FILE);
    EXPECT_EQ(player.played, std::vector<std::string>{Sound("c.wav")});
    view->OnCommand(ID_WAVELIST_WINDOW);
    EXPECT_TRUE(view->OnUpdateCommand(ID_WAVELIST_WINDOW).checked);
    EXPECT_EQ(Lines(), (QStringList{"a.wav", "b.wav", "c.wav"}));
    EXPECT_EQ(list.SelectedIndex(), 0);
    EXPECT_EQ(list.WavSlider()->value(), 70);
    QTest::keyClick(list.List(), Qt::Key_Escape);
    RunEvents();
    EXPECT_FALSE(view->IsWaveListOpen());
}

TEST_F(WaveListTest, PlayStopsSetsTheWavVolumeAndPlaysTheSelectedEntry) {
    CWaveListDlg& list = OpenWithThreeFiles();
    EXPECT_EQ(list.WavVolume(), 40); // the line's volume when first shown
    list.WavSlider()->setValue(80);
    list.List()->setCurrentRow(1);
    const int stops = player.stops;
    volume.setVolumes.clear();
    Click(IDC_WAVELIST_PLAY);
    EXPECT_EQ(player.stops, stops + 1);
    EXPECT_EQ(volume.setVolumes, std::vector<unsigned>{80});
    // Enter (the view's command) and a double click play the same way.
    view->OnCommand(ID_PLAY_WAVE_FILE);
    QListWidget* lines = list.List();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(list.Window()));
    const QPoint third = lines->visualItemRect(lines->item(2)).center();
    QTest::mouseClick(lines->viewport(), Qt::LeftButton, {}, third);
    QTest::mouseDClick(lines->viewport(), Qt::LeftButton, {}, third);
    EXPECT_EQ(player.played,
              (std::vector<std::string>{Sound("b.wav"), Sound("b.wav"), Sound("c.wav")}));
}

TEST_F(WaveListTest, SaveForcesTheListExtensionAndOpenPlaysTheFirstEntry) {
    CWaveListDlg& list = OpenWithThreeFiles();
    const std::string lists = temp.File("my.lists");
    fs::create_directories(lists);
    dialogs.Choose({lists + "/mylist.txt"});
    Click(IDC_WAVELIST_SAVE);
    EXPECT_EQ(dialogs.lastCall, "save " + Sounds() + " Wave List (*.wlist) wlist");
    EXPECT_FALSE(fs::exists(lists + "/mylist.txt"));
    const std::string expected = "../sounds/a.wav\r\n../sounds/b.wav\r\n../sounds/c.wav\r\n";
    EXPECT_EQ(ReadFileText(lists + "/mylist.wlist"), expected);
    EXPECT_EQ(list.Directory(), lists);
    // A name without an extension gets one; the "." of the folder is not taken for one.
    dialogs.Choose({lists + "/other"});
    Click(IDC_WAVELIST_SAVE);
    EXPECT_EQ(ReadFileText(lists + "/other.wlist"), expected);

    list.List()->setCurrentRow(1);
    Click(IDC_WAVELIST_REMOVE);
    dialogs.Choose({lists + "/mylist.wlist"});
    Click(IDC_WAVELIST_OPEN);
    EXPECT_EQ(Lines(), (QStringList{"a.wav", "b.wav", "c.wav"}));
    EXPECT_EQ(list.SelectedIndex(), 0);
    EXPECT_EQ(player.played, std::vector<std::string>{Sound("a.wav")});
    // A list that cannot be read is reported and changes nothing.
    dialogs.Choose({lists + "/missing.wlist"});
    Click(IDC_WAVELIST_OPEN);
    EXPECT_EQ(messages.Texts(),
              std::vector<std::string>{"Can't open file " + lists +
                                       "/missing.wlist, error = 2\nNo such file or directory"});
    EXPECT_EQ(list.Files().size(), 3u);
    EXPECT_EQ(player.played.size(), 1u);
}

TEST_F(WaveListTest, TypedPathsAreRememberedAndAFailedSaveRemembersNothing) {
    CWaveListDlg& list = Open();
    const std::string typed = temp.File("typed");
    fs::create_directories(typed);
    for (const auto& [id, name] :
         {std::pair{IDC_WAVELIST_ADD, "a.wav"}, std::pair{IDC_WAVELIST_SAVE, "l.wlist"},
          std::pair{IDC_WAVELIST_OPEN, "l.wlist"}}) {
        ChangeDirectory(startDir);
        profile.WriteString("Directories", "Wavelist", "");
        // The whole path was typed while the dialog showed the start folder.
        const std::string path = typed + "/" + name;
        dialogs.Queue(FileChoice{true, path, startDir, {path}});
        Click(id);
        EXPECT_EQ(profile.GetString("Directories", "Wavelist", ""), typed) << name;
        EXPECT_EQ(list.Directory(), typed) << name;
        EXPECT_EQ(CurrentDirectory(), typed) << name;
    }
    ChangeDirectory(startDir);
    dialogs.Choose({temp.File("missing/l.wlist")});
    Click(IDC_WAVELIST_SAVE);
    EXPECT_EQ(messages.Messages().size(), 1u);
    EXPECT_EQ(profile.GetString("Directories", "Wavelist", ""), typed);
    EXPECT_EQ(list.Directory(), typed);
    EXPECT_EQ(CurrentDirectory(), startDir);
}

TEST_F(WaveListTest, ChangedExtensionDoesNotReplaceAnotherListUnasked) {
    OpenWithThreeFiles();
    const std::string existing = temp.File("mylist.wlist");
    WriteFileText(existing, "keep\r\n");
    messages.QueueAnswer(MsgAnswer::No);
    dialogs.Choose({temp.File("mylist.txt")});
    Click(IDC_WAVELIST_SAVE);
    ASSERT_EQ(messages.Messages().size(), 1u);
    EXPECT_EQ(messages.Messages()[0].buttons, MsgButtons::YesNo);
    EXPECT_EQ(ReadFileText(existing), "keep\r\n");
    dialogs.Choose({temp.File("mylist.txt")}); // the sink answers Yes now
    Click(IDC_WAVELIST_SAVE);
    EXPECT_EQ(ReadFileText(existing).substr(0, 14), "sounds/a.wav\r\n");
}

TEST_F(WaveListTest, SynthSliderAtItsTopSetsTheVowelVolumeToTheMaximum) {
    CWaveListDlg& list = Open();
    QSlider* synth = list.SynthSlider();
    EXPECT_EQ(synth->value(), 40);             // shows the view's vowel volume
    EXPECT_FALSE(synth->invertedAppearance()); // the maximum is drawn at the top
    for (int i = 0; i < 10; ++i)
        QTest::keyClick(synth, Qt::Key_PageUp); // towards the top
    EXPECT_EQ(view->VowelVolume(), volume.GetMaximum());
    volume.setVolumes.clear();
    Paint();
    EXPECT_EQ(volume.setVolumes, std::vector<unsigned>{100u});
    EXPECT_EQ(list.WavVolume(), 40); // the other slider keeps its own volume
}

TEST_F(WaveListTest, WithoutAVolumeControlTheSlidersAreHiddenAndPlayKeepsTheVolume) {
    volume.available = false;
    CWaveListDlg& list = OpenWithThreeFiles();
    EXPECT_EQ(messages.Texts().back(), "Volume Sliders are not available.");
    EXPECT_TRUE(list.WavSlider()->isHidden());
    EXPECT_TRUE(list.SynthSlider()->isHidden());
    volume.setVolumes.clear();
    list.List()->setCurrentRow(0);
    Click(IDC_WAVELIST_PLAY);
    EXPECT_TRUE(volume.setVolumes.empty());
    EXPECT_EQ(player.played, std::vector<std::string>{Sound("a.wav")});
}

TEST_F(WaveListTest, WindowDocksAtTheMainWindowsRightEdgeAndFollowsIt) {
    view->move(100, 80);
    view->show();
    CWaveListDlg& list = Open();
    EXPECT_EQ(list.Window()->windowTitle(), "Wave List");
    EXPECT_TRUE(Control(IDC_WAVELIST_PLAY)->isDefault());
    const QRect frame = view->frameGeometry();
    EXPECT_EQ(list.Window()->frameGeometry().topLeft(),
              QPoint(frame.x() + frame.width(), frame.y()));
    const QSize size = list.Window()->size();
    view->OnFrameMoved(QRect(300, 200, 500, 400));
    EXPECT_EQ(list.Window()->frameGeometry().topLeft(), QPoint(800, 200));
    EXPECT_EQ(list.Window()->size(), size);
}

TEST_F(WaveListTest, SpaceInTheWaveListWindowPlaysTheChartsVowel) {
    Paint();
    CWaveListDlg& list = Open();
    list.Window()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(list.Window()));
    player.played.clear();
    QTest::keyClick(list.List(), Qt::Key_Space);
    EXPECT_EQ(player.played, std::vector<std::string>{TempWav()});
}

TEST_F(WaveListTest, PlayRightAfterAClickInTheChartPlaysTheListsEntry) {
    view->show();
    CWaveListDlg& list = OpenWithThreeFiles();
    list.List()->setCurrentRow(0);
    view->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(view.get()));
    // The first paint plays the first vowel.
    ASSERT_TRUE(QTest::qWaitFor([this] { return !player.played.empty(); }, 5000));
    player.played.clear();
    QTest::mouseClick(view.get(), Qt::LeftButton, {}, QPoint(200, 150));
    ASSERT_TRUE(QTest::qWaitFor([this] { return !player.played.empty(); }, 5000));
    EXPECT_EQ(player.played.back(), TempWav());
    player.played.clear();
    // Clicking Play moves the focus away from the chart; that repaints it, but plays nothing.
    list.Window()->activateWindow();
    Click(IDC_WAVELIST_PLAY);
    ASSERT_TRUE(QTest::qWaitForWindowActive(list.Window()));
    QTest::qWait(30);
    EXPECT_EQ(player.played, std::vector<std::string>{Sound("a.wav")});
}

TEST_F(WaveListTest, ViewDestroyedWhileACloseRequestIsOnItsWay) {
    OpenWithThreeFiles();
    QPointer<QDialog> window = view->WaveList()->Window();
    view->WaveList()->OnCancel();
    view.reset();
    RunEvents();
    EXPECT_TRUE(window.isNull());
}

// With recordings on the chart, each entry is measured in the background: a vowel is drawn
// at its formants, highlighted while selected in the list; a file with no voice and one that
// is no sound are marked in the list, each with a tooltip saying why. The option off takes
// the marks away, and the choice is remembered.
TEST_F(WaveListTest, RecordingsAreDrawnOrMarkedInTheList) {
    const auto write = [this](const std::string& name, const std::vector<short>& samples,
                              int rate) {
        SF_INFO info{};
        info.samplerate = rate;
        info.channels = 1;
        info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
        SNDFILE* file = sf_open(Sound(name).c_str(), SFM_WRITE, &info);
        ASSERT_NE(file, nullptr);
        sf_write_short(file, samples.data(), static_cast<sf_count_t>(samples.size()));
        sf_close(file);
    };
    VowelStimulus vowel;
    vowel.voiceFile = QUIRNEL_DATA_DIR "/Dat/01-male.dat";
    vowel.f1 = 650;
    vowel.f2 = 1100;
    RenderedVowel rendered;
    ASSERT_EQ(RenderStimulus(vowel, rendered), "");
    write("vowel.wav", std::vector<short>(rendered.pcm16.begin(), rendered.pcm16.end()),
          kRenderedRate);
    write("silent.wav", std::vector<short>(16000, 0), 16000);
    WriteFileText(Sound("text.wav"), "not a sound");

    view->OnCommand(ID_RECORDINGS_ON_CHART);
    EXPECT_EQ(profile.GetString("Chart", "Recordings", ""), "1");
    CWaveListDlg& list = Open();
    dialogs.Choose({Sound("vowel.wav"), Sound("silent.wav"), Sound("text.wav")});
    Click(IDC_WAVELIST_ADD);
    const QStringList marked = {"vowel.wav", "silent.wav  [no voice]", "text.wav  [unreadable]"};
    // Measuring is bounded by the files' size; a loaded machine only makes it slower.
    for (int i = 0;
         i < 12000 && (Lines() != marked || view->State().RecordingMarkersShown().empty()); ++i) {
        QCoreApplication::processEvents();
        QThread::msleep(10);
    }
    EXPECT_EQ(Lines(), marked);
    EXPECT_TRUE(list.List()->item(1)->toolTip().contains("No voiced stretch"));
    EXPECT_TRUE(list.List()->item(2)->toolTip().contains("not on the chart"));
    std::vector<RecordingMarker> markers = view->State().RecordingMarkersShown();
    ASSERT_EQ(markers.size(), 1u);
    EXPECT_TRUE(markers[0].selected);
    const ChartPointF at = RecordingPosition(view->State().Scale(), 650, 1100);
    EXPECT_NEAR(markers[0].at.x, at.x, 8);
    EXPECT_NEAR(markers[0].at.y, at.y, 8);
    view->resize(472, 385);
    EXPECT_EQ(Paint().pixel(static_cast<int>(markers[0].at.x) + kChartLeft,
                            static_cast<int>(markers[0].at.y)),
              kRecordingColour.rgb());
    list.List()->setCurrentRow(1);
    EXPECT_FALSE(view->State().RecordingMarkersShown()[0].selected);

    view->OnCommand(ID_RECORDINGS_ON_CHART);
    EXPECT_EQ(Lines(), (QStringList{"vowel.wav", "silent.wav", "text.wav"}));
    EXPECT_TRUE(list.List()->item(1)->toolTip().isEmpty());
    EXPECT_TRUE(view->State().RecordingMarkersShown().empty());
    EXPECT_EQ(profile.GetString("Chart", "Recordings", ""), "0");
}

} // namespace
