// The window's stimulus commands through the dialog seams: Export Sound, Make and Play
// Continuum, Go to Formants.
#include "ScriptedPrompt.h"
#include "ViewFixture.h"
#include "stimuli/SoundExport.h"
#include "stimuli/SoundReading.h"
#include "view/ContinuumForm.h"

#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace {

std::string Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

class StimulusCommandTest : public ViewTest {
protected:
    void SetUp() override {
        ViewTest::SetUp();
        SetFileDialogs(&dialogs);
    }
    void TearDown() override {
        SetFileDialogs(nullptr);
        ViewTest::TearDown();
    }
    // Chooses the entries of the form's two format fields from `first` on.
    static std::function<void(InputForm&)> Format(size_t first, int rate, int sampleFormat) {
        return [=](InputForm& form) {
            form.fields[first].chosen = rate;
            form.fields[first + 1].chosen = sampleFormat;
        };
    }

    ScriptedPrompt prompt;
    ScriptedFileDialogs dialogs;
};

TEST_F(StimulusCommandTest, ExportSavesTheVowelAsPlayedInTheChosenFormatAndPlaysNothing) {
    CreateView();
    view->OnCommand(ID_MODE_DIPHTHONG);
    view->OnRButtonDown(300, 250);
    Paint();
    const std::string tempWav = Bytes(TempWav());
    const size_t played = player.played.size();
    dialogs.Answer(temp.File("a.wav"));
    prompt.AnswerForm(Format(0, 2, 1)); // 44100 Hz, 24-bit PCM
    view->OnCommand(ID_EXPORT_SOUND);
    EXPECT_TRUE(messages.Messages().empty());

    // The very file the library makes of the vowel the chart plays: the diphthong.
    const ChartVowel vowel = *view->State().VowelToPlay();
    ASSERT_GT(vowel.f1End, 0);
    const VowelStimulus stimulus{vowel.voiceFile, vowel.tilt, vowel.duration, vowel.f1,
                                 vowel.f2,        vowel.f3,   vowel.f1End,    vowel.f2End};
    const SoundFormat format{44100, SampleFormat::Pcm24};
    ASSERT_EQ(ExportVowel(stimulus, format, temp.File("b.wav")).failure, ExportFailure::None);
    EXPECT_EQ(Bytes(temp.File("a.wav")), Bytes(temp.File("b.wav")));
    SF_INFO info;
    ReadSound(temp.File("a.wav"), info);
    EXPECT_EQ(info.samplerate, 44100);
    EXPECT_EQ(info.format & SF_FORMAT_SUBMASK, SF_FORMAT_PCM_24);
    EXPECT_EQ(Bytes(TempWav()), tempWav);
    EXPECT_EQ(player.played.size(), played);
    EXPECT_EQ(profile.GetString("Stimuli", "Rate", ""), "44100");
    EXPECT_EQ(profile.GetString("Stimuli", "Format", ""), "pcm24");
    EXPECT_EQ(profile.GetString("Stimuli", "Folder", ""), temp.Path());

    // The next export starts with the remembered format and folder; float is refused for
    // FLAC, and Cancel then writes nothing.
    dialogs.Answer(temp.File("c.flac"));
    prompt.AnswerForm(Format(0, 2, 2));
    view->OnCommand(ID_EXPORT_SOUND);
    EXPECT_EQ(dialogs.folders.back(), temp.Path());
    EXPECT_EQ(prompt.formsAsked.back().fields[0].chosen, 2);
    EXPECT_EQ(prompt.formsAsked.back().fields[1].chosen, 1);
    // A FLAC file is offered only the formats it holds.
    EXPECT_EQ(prompt.formsAsked.back().fields[1].choices,
              (std::vector<std::string>{"16-bit PCM", "24-bit PCM"}));
    ASSERT_EQ(messages.Messages().size(), 1u);
    EXPECT_NE(messages.Messages()[0].text.find("FLAC holds 16- or 24-bit samples"),
              std::string::npos);
    EXPECT_FALSE(fs::exists(temp.File("c.flac")));
}

TEST_F(StimulusCommandTest, GoToFormantsMovesThePointAndPlaysItOnceOrRefusesTheValues) {
    CreateView();
    PaintAndPlay();
    player.played.clear();
    prompt.AnswerForm([](InputForm& form) { form.fields[0].text = "5000"; });
    prompt.AnswerForm([](InputForm& form) {
        form.fields[0].text = "700";
        form.fields[1].text = " 1200 ";
        form.fields[2].text = "2500";
    });
    view->OnCommand(ID_GO_TO_FORMANTS);
    const FrequencyRange f1 = F1Range(view->State().Scale());
    ASSERT_EQ(messages.Texts().size(), 1u);
    EXPECT_EQ(messages.Texts()[0], "F1 must be a number from " + std::to_string(f1.lowest) +
                                       " to " + std::to_string(f1.highest) +
                                       " Hz, the range the chart shows.");
    PaintAndPlay();
    PaintAndPlay();
    ASSERT_EQ(player.played.size(), 1u);
    // The nearest the chart's steps of 2.5 % come.
    EXPECT_NEAR(view->State().Decision().F1(), 700, 700 * 0.0125 + 1);
    EXPECT_NEAR(view->State().Decision().F2(), 1200, 1200 * 0.0125 + 1);
    EXPECT_EQ(view->State().Sound().F3Step(), 25);

    prompt.AnswerForm([](InputForm& form) { form.fields[2].text = "Auto"; });
    view->OnCommand(ID_GO_TO_FORMANTS);
    EXPECT_EQ(prompt.formsAsked.back().fields[0].text,
              std::to_string(view->State().Decision().F1()));
    EXPECT_TRUE(view->State().Sound().IsAutoF3());
    view->OnCommand(ID_GO_TO_FORMANTS); // cancelled: nothing changes, nothing plays
    PaintAndPlay();
    EXPECT_EQ(player.played.size(), 2u);
}

TEST_F(StimulusCommandTest, ContinuumWritesItsStepsAndManifestAndPlaysThemInOrder) {
    CreateView();
    PaintAndPlay();
    const std::string folder = temp.File("stimuli");
    auto fill = [folder](const std::string& prefix, const std::string& steps) {
        return [=](InputForm& form) {
            form.fields[kContinuumTo].chosen = 0; // typed
            form.fields[kContinuumF1].text = "700";
            form.fields[kContinuumF2].text = "1200";
            form.fields[kContinuumSteps].text = steps;
            form.fields[kContinuumFolder].text = folder;
            form.fields[kContinuumPrefix].text = prefix;
        };
    };
    EXPECT_FALSE(view->OnUpdateCommand(ID_PLAY_CONTINUUM).enabled);
    prompt.AnswerForm(fill("ie", "101"));
    prompt.AnswerForm(fill("ie", "3"));
    view->OnCommand(ID_MAKE_CONTINUUM);
    EXPECT_EQ(messages.Texts(), std::vector<std::string>{
                                    "The number of steps must be a whole number from 2 to 100."});
    for (const char* name : {"ie-01.wav", "ie-02.wav", "ie-03.wav", "ie.csv"})
        EXPECT_TRUE(fs::exists(folder + "/" + name)) << name;
    EXPECT_EQ(prompt.progress, (std::vector<std::pair<int, int>>{{0, 3}, {1, 3}, {2, 3}, {3, 3}}));
    EXPECT_EQ(prompt.progressEnded, 1);
    EXPECT_EQ(view->ContinuumFiles(),
              (std::vector<std::string>{folder + "/ie-01.wav", folder + "/ie-02.wav",
                                        folder + "/ie-03.wav"}));

    // The same files again: replaced only after a Yes.
    messages.Clear();
    messages.QueueAnswer(MsgAnswer::No);
    prompt.AnswerForm(fill("ie", "3"));
    view->OnCommand(ID_MAKE_CONTINUUM);
    ASSERT_EQ(messages.Messages().size(), 1u);
    EXPECT_EQ(messages.Messages()[0].buttons, MsgButtons::YesNo);
    EXPECT_EQ(prompt.progressEnded, 1);

    // Cancelled after two of five steps: nothing of it is written, and the continuum to play
    // stays the last one written.
    prompt.cancelAt = 2;
    prompt.AnswerForm(fill("cut", "5"));
    view->OnCommand(ID_MAKE_CONTINUUM);
    ASSERT_EQ(view->ContinuumFiles().size(), 3u);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 4);
    for (const std::string& file : view->ContinuumFiles()) {
        SF_INFO info;
        EXPECT_EQ(ReadSound(file, info).size(), 5000u); // five frames of 100 ms at 10000 Hz
    }

    // Play Continuum: the steps in order, each shown in the status bar.
    QSignalSpy status(view.get(), &CTundrelView::statusTextChanged);
    player.played.clear();
    prompt.AnswerText("0");
    view->OnCommand(ID_PLAY_CONTINUUM);
    QTRY_VERIFY(!view->IsPlayingContinuum());
    EXPECT_EQ(player.played, view->ContinuumFiles());
    ASSERT_GE(status.size(), 3);
    EXPECT_EQ(status[0][0].toString(), "Continuum step 1 of 3: ie-01.wav");
    EXPECT_EQ(status[1][0].toString(), "Continuum step 2 of 3: ie-02.wav");

    // A shorter continuum made while one plays: the steps that go on playing keep their names.
    prompt.cancelAt = -1;
    prompt.AnswerText("1000");
    view->OnCommand(ID_PLAY_CONTINUUM);
    prompt.AnswerForm(fill("ab", "2"));
    view->OnCommand(ID_MAKE_CONTINUUM);
    ASSERT_EQ(view->ContinuumFiles().size(), 2u);
    QTRY_VERIFY_WITH_TIMEOUT(!view->IsPlayingContinuum(), 20000);
    EXPECT_TRUE(std::any_of(status.begin(), status.end(), [](const QList<QVariant>& shown) {
        return shown[0].toString() == "Continuum step 3 of 3: ie-03.wav";
    }));

    // A click in the chart cuts it off.
    prompt.AnswerText("5000");
    view->OnCommand(ID_PLAY_CONTINUUM);
    EXPECT_TRUE(view->IsPlayingContinuum());
    view->OnLButtonDown(200, 150);
    PaintAndPlay();
    EXPECT_FALSE(view->IsPlayingContinuum());
    EXPECT_EQ(player.played.back(), TempWav());
}

// The level is chosen in the dialog, remembered under a key of its own, and the status bar
// says when the sound was scaled.
TEST_F(StimulusCommandTest, ExportWritesTheChosenLevelAndSaysItWasScaled) {
    CreateView();
    Paint();
    QSignalSpy status(view.get(), &CTundrelView::statusTextChanged);
    dialogs.Answer(temp.File("a.wav"));
    prompt.AnswerForm([](InputForm& form) {
        form.fields[2].chosen = 2; // RMS
        form.fields[3].text = "-81";
    });
    prompt.AnswerForm([](InputForm& form) {
        form.fields[1].chosen = 2; // float
        form.fields[2].chosen = 2;
        form.fields[3].text = "-30";
    });
    view->OnCommand(ID_EXPORT_SOUND);
    EXPECT_EQ(messages.Texts(),
              std::vector<std::string>{"The RMS must be a number from -80 to 0 dB."});
    SF_INFO info;
    double energy = 0;
    const std::vector<double> sound = ReadSound(temp.File("a.wav"), info);
    for (double s : sound)
        energy += s * s;
    EXPECT_NEAR(10 * std::log10(energy / double(sound.size())), -30, 0.01);
    EXPECT_EQ(profile.GetString("Stimuli", "Level", ""), "rms=-30");
    ASSERT_FALSE(status.isEmpty());
    EXPECT_TRUE(status.back()[0].toString().startsWith("Exported a.wav, scaled by "))
        << status.back()[0].toString().toStdString();
    EXPECT_TRUE(status.back()[0].toString().endsWith("to an RMS of -30.00 dB"));

    // Offered again; the natural level of a quiet vowel says nothing of scaling.
    dialogs.Answer(temp.File("b.wav"));
    prompt.AnswerForm([](InputForm& form) { form.fields[2].chosen = 0; });
    view->OnCommand(ID_EXPORT_SOUND);
    EXPECT_EQ(prompt.formsAsked.back().fields[2].chosen, 2);
    EXPECT_EQ(prompt.formsAsked.back().fields[3].text, "-30");
    EXPECT_EQ(status.back()[0].toString(), "Exported b.wav");
    EXPECT_EQ(profile.GetString("Stimuli", "Level", ""), "natural");
}

} // namespace

// A continuum is written on a worker while the window's events go on: a timer fires meanwhile
// and cancels it, as the progress dialog's Cancel would, and nothing of it is left.
TEST_F(StimulusCommandTest, WindowRunsWhileAContinuumIsWrittenAndCancelLeavesNothing) {
    CreateView();
    Paint();
    const std::string folder = temp.File("cut");
    prompt.AnswerForm([folder](InputForm& form) {
        form.fields[kContinuumTo].chosen = 0;
        form.fields[kContinuumF1].text = "700";
        form.fields[kContinuumF2].text = "1200";
        form.fields[kContinuumSteps].text = "9";
        form.fields[kContinuumFolder].text = folder;
        form.fields[kContinuumPrefix].text = "cut";
    });
    bool fired = false;
    QTimer::singleShot(0, [&] {
        fired = true;
        prompt.cancelAt = 0;
    });
    QSignalSpy status(view.get(), &CTundrelView::statusTextChanged);
    view->OnCommand(ID_MAKE_CONTINUUM);
    EXPECT_TRUE(fired);
    EXPECT_FALSE(fs::exists(folder));
    EXPECT_TRUE(view->ContinuumFiles().empty());
    EXPECT_EQ(prompt.progressEnded, 1);
    ASSERT_FALSE(status.isEmpty());
    EXPECT_EQ(status.back()[0].toString().toStdString(), "Continuum cancelled: nothing written");
}
