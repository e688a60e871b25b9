// Tools > Listen and Keep Last Take in the window, listening to the private test server's
// monitor: the chart's own click-to-play is not measured, a vowel played by someone else
// is, and its take lands in the wave list and on the chart where the trace showed it.
#include "audio/AudioTestSupport.h"
#include "audio/SoundPlayer.h"
#include "base/Settings.h"
#include "stimuli/VowelStimulus.h"
#include "view/ViewFixture.h"
#include "view/WaveListDlg.h"

#include <QSignalSpy>

#include <algorithm>

namespace {

class LiveListenWindow : public ::testing::Test {
protected:
    void SetUp() override {
        REQUIRE_TEST_SOUND_SERVER();
        ASSERT_EQ(audiotest::Run({"pactl", "set-sink-volume", "quirnel_test", "65536"}), 0);
        ASSERT_EQ(audiotest::Run({"pactl", "set-sink-mute", "quirnel_test", "0"}), 0);
        // The documents folder, where takes are kept, is one of the test's own.
        qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(dir.Path()));
        std::filesystem::create_directory(dir.File("docs"));
        std::ofstream(dir.File("user-dirs.dirs"))
            << "XDG_DOCUMENTS_DIR=\"" << dir.File("docs") << "\"\n";
        SetProfile(&profile);
        g_strDatDir = QUIRNEL_DATA_DIR "/Dat";
        view = std::make_unique<CTundrelView>(&doc, &volume, &player);
        view->SetTempFolder(dir.Path());
        view->SetVoiceFiles(&voiceFiles);
        view->OnInitialUpdate();
    }
    void TearDown() override {
        view.reset();
        SetProfile(nullptr);
        qunsetenv("XDG_CONFIG_HOME");
    }

    TempDir dir;
    MemoryProfile profile;
    RecordingMessageSink messages;
    ScopedMessageSink guard{&messages};
    CTundrelDoc doc;
    FakeVolume volume;
    CSoundPlayer player;
    std::vector<std::string> voiceFiles{"01-male.dat"};
    std::unique_ptr<CTundrelView> view;
};

TEST_F(LiveListenWindow, OwnSoundIsNotMeasuredAndTheTakeLandsWhereTheTraceWas) {
    ASSERT_EQ(CTundrelView::TakeFolder(), dir.File("docs"));
    view->OnCommand(ID_LISTEN);
    ASSERT_TRUE(view->IsListening())
        << (messages.Messages().empty() ? "" : messages.Messages()[0].text);
    EXPECT_STREQ(view->OnUpdateCommand(ID_LISTEN).text, "Stop &Listening\tCtrl+L");

    // The chart's own vowel: a click, then the change's sound.
    QSignalSpy finished(&player, &CSoundPlayer::Finished);
    view->OnLButtonDown(kChartLeft + 150, 150);
    view->grab();
    QCoreApplication::sendPostedEvents();
    ASSERT_TRUE(player.IsPlaying());
    EXPECT_TRUE(view->IsListeningPaused());
    EXPECT_TRUE(audiotest::RunEventsUntil([&] { return finished.count() > 0; }, 20000));
    EXPECT_TRUE(audiotest::RunEventsUntil([&] { return !view->IsListeningPaused(); }, 5000));
    audiotest::RunEventsFor(2000);
    EXPECT_TRUE(view->Live().IsEmpty());

    // Someone else's vowel: heard, drawn, kept.
    VowelStimulus stimulus;
    stimulus.voiceFile = QUIRNEL_DATA_DIR "/Dat/01-male.dat";
    stimulus.frameMs = 200;
    stimulus.f1 = 700;
    stimulus.f2 = 1200;
    RenderedVowel rendered;
    ASSERT_EQ(RenderStimulus(stimulus, rendered), "");
    std::vector<double> samples(rendered.pcm16.begin(), rendered.pcm16.end());
    for (double& s : samples)
        s /= 32768;
    ASSERT_TRUE(audiotest::WriteWav(dir.File("other.wav"), kRenderedRate, 1,
                                    audiotest::SampleFormat::Pcm16, samples));
    CSoundPlayer other;
    other.Play(dir.File("other.wav"));
    const ChartScale& scale = view->State().Scale();
    // The fullest trace; the voice and its analysis are over once it has faded away
    // (frames come in bursts when the analysis has fallen behind on a busy machine).
    std::vector<double> xs, ys;
    bool seen = false;
    ASSERT_TRUE(audiotest::RunEventsUntil(
        [&] {
            if (view->Live().IsEmpty())
                return seen;
            seen = true;
            std::vector<double> x, y;
            for (const auto& piece : view->Live().Trace(scale))
                for (const LiveTracePoint& point : piece) {
                    x.push_back(point.at.x);
                    y.push_back(point.at.y);
                }
            if (x.size() >= xs.size()) {
                xs = std::move(x);
                ys = std::move(y);
            }
            return false;
        },
        240000));
    ASSERT_GT(xs.size(), 20u);
    std::nth_element(xs.begin(), xs.begin() + xs.size() / 2, xs.end());
    std::nth_element(ys.begin(), ys.begin() + ys.size() / 2, ys.end());
    const ChartPointF traced{xs[xs.size() / 2], ys[ys.size() / 2]};
    const ChartPointF asked = RecordingPosition(scale, 700, 1200);
    EXPECT_NEAR(traced.x, asked.x, 0.05 * asked.x);
    EXPECT_NEAR(traced.y, asked.y, 0.05 * asked.y);

    view->OnCommand(ID_RECORDINGS_ON_CHART);
    view->OnCommand(ID_KEEP_LAST_TAKE);
    const std::vector<std::string>& files = view->WaveList()->Files();
    ASSERT_EQ(files.size(), 1u) << (messages.Messages().empty() ? "" : messages.Messages()[0].text);
    EXPECT_EQ(files[0].rfind(dir.File("docs/take-"), 0), 0u) << files[0];
    EXPECT_TRUE(std::filesystem::exists(files[0]));
    // Measured in the background (slowly in a sanitized build), drawn as a marker near the
    // middle of the trace.
    ASSERT_TRUE(audiotest::RunEventsUntil(
        [&] {
            return !view->State().Shown().Recordings().MarkersShown(view->State().Scale()).empty();
        },
        240000));
    const RecordingMarker marker =
        view->State().Shown().Recordings().MarkersShown(view->State().Scale()).front();
    EXPECT_NEAR(marker.at.x, traced.x, 0.05 * asked.x);
    EXPECT_NEAR(marker.at.y, traced.y, 0.05 * asked.y);

    view->OnCommand(ID_LISTEN);
    EXPECT_FALSE(view->IsListening());
    EXPECT_TRUE(view->Live().IsEmpty());
    EXPECT_STREQ(view->OnUpdateCommand(ID_LISTEN).text, "&Listen\tCtrl+L");
}

} // namespace
