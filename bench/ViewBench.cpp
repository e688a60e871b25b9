// Response of the chart: from a mouse press on the chart until the vowel it selects has been
// synthesized into "temp.wav" and handed to the sound output.
#include "BenchApplication.h"
#include "audio/SoundPlayer.h"
#include "audio/WaveOutVolumeCtrl.h"
#include "base/Directories.h"
#include "base/MessageBox.h"
#include "doc/TundrelDoc.h"
#include "spectrum/VowelSpectrum.h"
#include "synth/SynthRun.h"
#include "drawing/SpectrumDrawing.h"
#include "view/TundrelView.h"

#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

// Counts the Play calls that the view makes, and passes everything on to the real player.
class CountingPlayer : public ISoundPlayer {
public:
    explicit CountingPlayer(CSoundPlayer& player) : m_player(player) {}
    void Play(const std::string& path) override {
        m_player.Play(path);
        ++plays;
    }
    void Stop() override { m_player.Stop(); }
    bool IsPlaying() const override { return m_player.IsPlaying(); }

    int plays = 0;

private:
    CSoundPlayer& m_player;
};

void Press(QWidget& view, QPoint point) {
    QMouseEvent press(QEvent::MouseButtonPress, point, view.mapToGlobal(point), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&view, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, point, view.mapToGlobal(point), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&view, &release);
}

// Runs the event loop until the view has played once more; false when it never does.
bool WaitForPlay(const CountingPlayer& player, int before) {
    for (int round = 0; round < 1000 && player.plays == before; ++round)
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    return player.plays != before;
}

void BM_ClickToSound(benchmark::State& state) {
    BenchApplication();
    RecordingMessageSink messages; // e.g. a missing volume control
    ScopedMessageSink messageGuard(&messages);
    char pattern[] = "/tmp/quirnel-view-bench-XXXXXX";
    const char* tempDir = mkdtemp(pattern);
    if (!tempDir) {
        state.SkipWithError("no temporary folder");
        return;
    }
    g_strTempDir = tempDir;
    g_strDatDir = std::string(QUIRNEL_DATA_DIR) + "/Dat";
    const std::vector<std::string> voiceFiles{"01-male.dat"};
    CTundrelDoc doc;
    CWaveOutVolumeCtrl volume;
    CSoundPlayer soundPlayer;
    CountingPlayer player(soundPlayer);
    {
        CTundrelView view(&doc, &volume, &player);
        view.SetVoiceFiles(&voiceFiles);
        view.OnInitialUpdate();
        view.show();
        WaitForPlay(player, 0); // the first paint plays the first vowel
        const QPoint points[] = {QPoint(150, 120), QPoint(300, 260)};
        int click = 0;
        for (auto _ : state) {
            const int before = player.plays;
            Press(view, points[click++ % 2]);
            if (!WaitForPlay(player, before)) {
                state.SkipWithError("the click was not played");
                break;
            }
            if (soundPlayer.LastResult() != CSoundPlayer::PlayResult::Started) {
                state.SkipWithError("no sound output (start a sound server, see scripts/bench)");
                break;
            }
            // What the event loop does between two clicks: the stopped sinks go away.
            state.PauseTiming();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            state.ResumeTiming();
        }
        view.OnDestroy();
    }
    ReleaseSynthesis();
    std::filesystem::remove_all(tempDir);
}
BENCHMARK(BM_ClickToSound)->Unit(benchmark::kMillisecond)->UseRealTime();

// What the spectrum window does after a click has been played: renders and measures the
// vowel (sound, filter, source, harmonics) and draws it at the window's size.
void BM_SpectrumView(benchmark::State& state) {
    BenchApplication();
    const ChartLook look = ChooseChartLook();
    const SpectrumOptions options;
    QImage canvas(600, 380, QImage::Format_ARGB32_Premultiplied);
    const std::string voice = std::string(QUIRNEL_DATA_DIR) + "/Dat/01-male.dat";
    const int vowels[][2] = {{300, 2200}, {750, 1100}};
    int click = 0;
    for (auto _ : state) {
        const auto& v = vowels[click++ % 2];
        const VowelSpectrum spectrum = AnalyseVowel({voice, 0, 100, v[0], v[1], 0, 0, 0});
        if (!spectrum.report.Ok()) {
            state.SkipWithError("the vowel was not rendered");
            break;
        }
        canvas.fill(Qt::white);
        QPainter painter(&canvas);
        DrawSpectrum(painter, QRectF(canvas.rect()), spectrum, options, look);
    }
    ReleaseSynthesis();
}
BENCHMARK(BM_SpectrumView)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
