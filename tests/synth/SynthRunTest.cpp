// The synthesis run: voice loading and its remembered name, the short-store refusal,
// the WAV output of SynthesizeVowel with its end fade, the rendering itself, and what an
// engine carries from one vowel to the next while other engines render beside it.
#include "synth/SynthEngine.h"

#include "SynthTestSupport.h"
#include "TempDir.h"
#include "base/MessageBox.h"
#include "base/Report.h"
#include "synth/EndFade.h"
#include "synth/FrameSynth.h"
#include "synth/WavFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <thread>

namespace {

using synthtest::ReadBytes;
using synthtest::WriteVoiceFile;

class SynthRunTest : public ::testing::Test {
protected:
    void SetUp() override {
        voice = dir.File("voice.dat");
        WriteVoiceFile(voice, synthtest::SyntheticVoicing(6000));
    }

    std::vector<int32_t> Render(const std::string& voiceFile, int frameMs = 100, int tilt = 0) {
        std::vector<int32_t> samples;
        EXPECT_EQ(Rendered(voiceFile, tilt, frameMs, 700, 1200, 0, 0, 0, samples), 1);
        return samples;
    }

    // The engine's entries as the view and quirnel-cli call them: the engine shows nothing
    // itself, its caller shows the report (here into the recording sink). 1 on success.
    int Shown(const Report& report) {
        EXPECT_EQ(messages.Messages().size(), shownBefore) << "the engine showed a message";
        ShowReport(report);
        return report.Ok() ? 1 : 0;
    }
    int Synthesize(const std::string& voiceFile, int tiltDb, int frameMs, int f1, int f2, int f3,
                   int f1End, int f2End) {
        shownBefore = messages.Messages().size();
        const SynthesisResult result =
            engine.SynthesizeVowel(voiceFile, tiltDb, frameMs, f1, f2, f3, f1End, f2End);
        EXPECT_EQ(result.wavPath, result.Ok() ? engine.OutputFolder() + "/temp.wav" : "");
        return Shown(result.report);
    }
    int Rendered(const std::string& voiceFile, int tiltDb, int frameMs, int f1, int f2, int f3,
                 int f1End, int f2End, std::vector<int32_t>& samples) {
        shownBefore = messages.Messages().size();
        return Shown(
            engine.RenderVowel(voiceFile, tiltDb, frameMs, f1, f2, f3, f1End, f2End, samples));
    }
    int Run(const VowelTrack& track, const std::string& rawPath, const std::string& voiceFile,
            int frameMs, VoicingSource source = VoicingSource::Sampled,
            FilterConfiguration configuration = FilterConfiguration::Cascade) {
        shownBefore = messages.Messages().size();
        const SynthesisResult result =
            engine.RunSynthesis(track, rawPath, voiceFile, frameMs, source, configuration);
        EXPECT_EQ(result.wavPath, result.Ok() ? WavPathFromRawPath(rawPath) : "");
        return Shown(result.report);
    }

    std::string TempWav() const { return dir.File("temp.wav"); }

    TempDir dir;
    SynthEngine engine{dir.Path()}; // each test starts from rest, as a new process does
    std::string voice;
    RecordingMessageSink messages;
    ScopedMessageSink scope{&messages};
    size_t shownBefore = 0;
};

TEST_F(SynthRunTest, WritesTempWavOfTheRightSize) {
    ASSERT_EQ(Synthesize(voice, 0, 100, 700, 1200, 0, 0, 0), 1);
    const std::vector<uint8_t> bytes = ReadBytes(TempWav());
    ASSERT_EQ(bytes.size(), 10044u);
    EXPECT_EQ(synthtest::U32At(bytes, 4), 10036u);
    EXPECT_EQ(synthtest::U32At(bytes, 40), 10000u);
    EXPECT_FALSE(std::filesystem::exists(dir.File("temp.raw")));
    EXPECT_TRUE(messages.Messages().empty());

    ASSERT_EQ(Synthesize(voice, 0, 1, 700, 1200, 0, 0, 0), 1);
    EXPECT_EQ(ReadBytes(TempWav()).size(), 144u);
}

// Largest magnitude among the 16-bit samples of a WAV image from sample `from` on.
int PeakFrom(const std::vector<uint8_t>& wav, size_t from) {
    int peak = 0;
    for (size_t at = kWavHeaderBytes + 2 * from; at + 1 < wav.size(); at += 2)
        peak = std::max(peak, std::abs(static_cast<int16_t>(synthtest::U16At(wav, at))));
    return peak;
}

TEST_F(SynthRunTest, WrittenSoundsEndWithAFadeAndKeepEverythingBeforeIt) {
    // A steady vowel, a diphthong and the shortest frames (a sound shorter than the fade).
    struct Vowel {
        int frameMs, f1End, f2End;
    };
    for (const Vowel& vowel : {Vowel{100, 0, 0}, Vowel{30, 300, 2200}, Vowel{1, 0, 0}}) {
        SCOPED_TRACE(vowel.frameMs);
        engine.SetEndFade(false);
        ASSERT_EQ(Synthesize(voice, 0, vowel.frameMs, 700, 1200, 0, vowel.f1End, vowel.f2End), 1);
        const std::vector<uint8_t> asRendered = ReadBytes(TempWav());
        std::vector<int32_t> samples;
        ASSERT_EQ(
            Rendered(voice, 0, vowel.frameMs, 700, 1200, 0, vowel.f1End, vowel.f2End, samples), 1);
        EXPECT_EQ(asRendered, EncodeWav(samples)); // without the fade: exactly the run's bytes
        engine.SetEndFade(true);
        ASSERT_EQ(Synthesize(voice, 0, vowel.frameMs, 700, 1200, 0, vowel.f1End, vowel.f2End), 1);
        const std::vector<uint8_t> faded = ReadBytes(TempWav());

        ASSERT_EQ(faded.size(), asRendered.size());
        const size_t count = samples.size();
        const size_t untouched = count - std::min<size_t>(count, kEndFadeSamples);
        const auto fadeStart = static_cast<std::ptrdiff_t>(kWavHeaderBytes + 2 * untouched);
        EXPECT_TRUE(std::equal(faded.begin(), faded.begin() + fadeStart, asRendered.begin()));
        // The last 2 ms hold at most 5 % of the peak; as rendered they clicked.
        EXPECT_LE(PeakFrom(faded, count - 20), 0.05 * PeakFrom(faded, 0));
        EXPECT_GT(PeakFrom(asRendered, count - 20), 0.05 * PeakFrom(asRendered, 0));
    }
}

TEST(EndFade, ScalesALoudSoundByItsUnfadedPeak) {
    // The loudest sample lies in the fade: the samples before it are still scaled by it, as
    // the writer scales the sound without the fade.
    std::vector<int32_t> loud(400, 30000);
    loud[0] = -20000;
    loud[380] = 40000;
    const std::vector<int32_t> faded = FadeOutForSixteenBits(loud);
    EXPECT_EQ(faded[0], ScaleToSixteenBits(-20000, 40000));
    EXPECT_EQ(faded[249], ScaleToSixteenBits(30000, 40000));
    EXPECT_EQ(faded[250], std::trunc(30000 * EndFadeGain(149, 400) / 40000 * 32767));
    EXPECT_EQ(faded[380], 0); // in the silent last 2 ms
    EXPECT_LE(PeakMagnitude(faded), 32767);
    // A quiet sound keeps its samples before the fade; one shorter than 2 ms is all silent.
    EXPECT_EQ(FadeOutForSixteenBits(std::vector<int32_t>(200, -7))[49], -7);
    EXPECT_EQ(FadeOutForSixteenBits({5, -7, 9}), (std::vector<int32_t>{0, 0, 0}));
}

TEST_F(SynthRunTest, FirstSampleIsSilentAndEveryFrameIsVoiced) {
    const std::vector<int32_t> samples = Render(voice);
    EXPECT_EQ(samples[0], 0);
    for (int k = 0; k < 5; ++k)
        EXPECT_GT(*std::max_element(samples.begin() + k * 1000, samples.begin() + k * 1000 + 1000),
                  50)
            << k;
}

TEST_F(SynthRunTest, ConstantVoicingSettlesAtTheCascadeAndTiltGains) {
    // Every section has unit gain at 0 Hz and the nasal pair cancels, so a constant
    // excitation V ends up as V x voicing gain 0.638 x output gain 1.024; a positive tilt
    // keeps that level, a negative one divides it by 1 - tiltDecay.
    WriteVoiceFile(voice, synthtest::ConstantVoicing(5000, 10000));
    const double plain = 10000 * 0.638 * 1.024;
    EXPECT_NEAR(Render(voice).back(), plain, 3.0);
    EXPECT_NEAR(Render(voice, 100, 24).back(), plain, 3.0);
    EXPECT_NEAR(Render(voice, 100, -10).back(), plain / 1.33, 3.0);
}

TEST_F(SynthRunTest, FixedRenderingIsUnchanged) {
    // A regression fingerprint of one rendering with the synthetic voice.
    std::vector<int32_t> samples;
    ASSERT_EQ(Rendered(voice, 0, 100, 700, 1200, 2600, 0, 0, samples), 1);
    EXPECT_EQ(synthtest::Fingerprint(samples), 10890841477455833535ull);
    ASSERT_EQ(Rendered(voice, 0, 20, 300, 2200, 0, 600, 900, samples), 1);
    EXPECT_EQ(synthtest::Fingerprint(samples), 10590695020243818790ull);
}

TEST_F(SynthRunTest, TiltMemoryCarriesOverIntoTheNextRun) {
    std::vector<int32_t> first, second;
    ASSERT_EQ(Rendered(voice, 12, 100, 700, 1200, 0, 0, 0, first), 1);
    ASSERT_EQ(Rendered(voice, 12, 100, 700, 1200, 0, 0, 0, second), 1);
    // The first run starts from rest; the second sees the last tilt output of the first.
    EXPECT_EQ(first[0], 0);
    EXPECT_NE(first, second);
    EXPECT_NE(engine.Carried().tiltOutput, 0.0f);
}

// Each engine carries only its own values: two engines voicing the same tilted vowels on
// two threads at once write, vowel after vowel, the bytes one engine alone writes.
TEST_F(SynthRunTest, EnginesOnTwoThreadsWriteWhatOneEngineAloneWrites) {
    auto playThree = [&](const std::string& folder) {
        std::filesystem::create_directory(folder);
        SynthEngine own(folder);
        std::vector<std::vector<uint8_t>> written;
        for (int k = 0; k < 3; ++k) {
            const SynthesisResult result = own.SynthesizeVowel(voice, 12, 50, 700, 1200, 0, 0, 0);
            written.push_back(result.Ok() ? ReadBytes(result.wavPath) : std::vector<uint8_t>());
        }
        return written;
    };
    const std::vector<std::vector<uint8_t>> alone = playThree(dir.File("alone"));
    ASSERT_EQ(alone.size(), 3u);
    ASSERT_NE(alone[0], alone[1]); // the second vowel hears what the first left behind
    std::vector<std::vector<uint8_t>> beside;
    std::thread other([&] { beside = playThree(dir.File("beside")); });
    const std::vector<std::vector<uint8_t>> here = playThree(dir.File("here"));
    other.join();
    EXPECT_EQ(here, alone);
    EXPECT_EQ(beside, alone);
}

TEST_F(SynthRunTest, TrackFollowsTheEntryArguments) {
    std::vector<int32_t> samples;
    ASSERT_EQ(Rendered(voice, 6, 10, 300, 2200, 0, 0, 1500, samples), 1);
    // f1End 0 means a steady vowel whatever f2End holds; F3 0 means 2750 Hz.
    EXPECT_EQ(engine.Track()[4].f1, 310);
    EXPECT_EQ(engine.Track()[4].f2, 2210);
    EXPECT_EQ(engine.Track()[0].f3, 2750);
    EXPECT_EQ(engine.Track()[0].f4, 3850);
    EXPECT_EQ(engine.Track()[0].f5, 4950);
    EXPECT_EQ(engine.Track()[2].tiltDb, 6);
    ASSERT_EQ(Rendered(voice, 0, 10, 300, 2200, -4, 800, 1200, samples), 1);
    EXPECT_EQ(engine.Track()[0].f1, 300);
    EXPECT_EQ(engine.Track()[4].f1, 700);
    EXPECT_EQ(engine.Track()[4].f2, 1400);
    EXPECT_EQ(engine.Track()[4].f3, 2750);
}

TEST_F(SynthRunTest, VoiceFileIsReadOnceAndAgainAfterASwitch) {
    const std::vector<int32_t> voiced = Render(voice);
    // Silence the file on disk: a run that re-read it would render silence.
    WriteVoiceFile(voice, synthtest::ConstantVoicing(6000, 0));
    EXPECT_EQ(Render(voice), voiced);
    EXPECT_EQ(engine.LoadedVoiceFile(), voice);

    const std::string other = dir.File("other.dat");
    WriteVoiceFile(other, synthtest::SyntheticVoicing(6000, 500));
    EXPECT_NE(Render(other), voiced);
    EXPECT_EQ(Render(voice), std::vector<int32_t>(5000, 0));
    EXPECT_TRUE(messages.Messages().empty());
}

TEST_F(SynthRunTest, UnreadableVoiceFileIsReportedEveryTime) {
    const std::string missing = dir.File("missing.dat");
    for (int attempt = 0; attempt < 2; ++attempt) {
        messages.Clear();
        EXPECT_EQ(Synthesize(missing, 0, 100, 700, 1200, 0, 0, 0), 0);
        ASSERT_EQ(messages.Messages().size(), 1u);
        EXPECT_EQ(messages.Messages()[0].text,
                  "Can't open voicing samples file:\n" + missing + "\nNo such file or directory");
        EXPECT_EQ(messages.Messages()[0].caption, "Error");
        EXPECT_FALSE(std::filesystem::exists(TempWav()));
    }
}

TEST_F(SynthRunTest, FailedOpenKeepsTheLoadedVoice) {
    const std::vector<int32_t> voiced = Render(voice);
    std::vector<int32_t> samples;
    EXPECT_EQ(Rendered(dir.File("missing.dat"), 0, 100, 700, 1200, 0, 0, 0, samples), 0);
    EXPECT_EQ(engine.LoadedVoiceFile(), voice);
    EXPECT_EQ(Render(""), voiced); // an empty path uses the loaded voice
}

TEST_F(SynthRunTest, ShortVoiceFileIsRefusedBeforeRendering) {
    WriteVoiceFile(voice, synthtest::SyntheticVoicing(48));
    EXPECT_EQ(Synthesize(voice, 0, 1, 700, 1200, 0, 0, 0), 0);
    ASSERT_EQ(messages.Messages().size(), 1u);
    EXPECT_EQ(messages.Messages()[0].text,
              "The voicing samples file\n" + voice + "\nholds 48 samples; this vowel needs 49.");
    EXPECT_EQ(messages.Messages()[0].caption, "Error");
    EXPECT_FALSE(std::filesystem::exists(TempWav()));

    // 5 x 10 - 1 = 49 samples are exactly enough for 1 ms frames.
    engine.Release();
    messages.Clear();
    WriteVoiceFile(voice, synthtest::SyntheticVoicing(49));
    EXPECT_EQ(Synthesize(voice, 0, 1, 700, 1200, 0, 0, 0), 1);
    EXPECT_TRUE(messages.Messages().empty());
    EXPECT_EQ(Synthesize(voice, 0, 2, 700, 1200, 0, 0, 0), 0);
    EXPECT_NE(messages.Texts().at(0).find("holds 49 samples; this vowel needs 99."),
              std::string::npos);
}

TEST_F(SynthRunTest, BrokenVoiceFilesGiveTheEmptyStoreMessage) {
    for (const char* text : {"", "not a number", "-3 1.0 1 2 3", "5000 1.0 1 2 3"}) {
        SCOPED_TRACE(text);
        engine.Release();
        messages.Clear();
        synthtest::WriteText(voice, text);
        EXPECT_EQ(Synthesize(voice, 0, 100, 700, 1200, 0, 0, 0), 0);
        ASSERT_EQ(messages.Messages().size(), 1u);
        EXPECT_NE(messages.Texts()[0].find(voice), std::string::npos);
        EXPECT_NE(messages.Texts()[0].find("this vowel needs 4999."), std::string::npos);
        EXPECT_FALSE(std::filesystem::exists(TempWav()));
    }
}

TEST_F(SynthRunTest, NoVoiceLoadedAtAll) {
    EXPECT_EQ(Synthesize("", 0, 100, 700, 1200, 0, 0, 0), 0);
    EXPECT_EQ(messages.Texts(),
              std::vector<std::string>{
                  "No voicing samples file is loaded; this vowel needs 4999 samples."});
}

TEST_F(SynthRunTest, ReleaseForgetsTheVoiceSoItIsReadAgain) {
    const std::vector<int32_t> voiced = Render(voice);
    engine.Release();
    EXPECT_EQ(engine.LoadedVoiceFile(), "");
    EXPECT_EQ(Render(voice), voiced);
    EXPECT_TRUE(messages.Messages().empty());
}

TEST_F(SynthRunTest, FrameLengthOutsideTheBufferIsRefused) {
    for (int frameMs : {-1, 2001, 2000000000}) {
        messages.Clear();
        EXPECT_EQ(Synthesize(voice, 0, frameMs, 700, 1200, 0, 0, 0), 0) << frameMs;
        EXPECT_EQ(messages.Messages().size(), 1u);
        EXPECT_EQ(messages.Messages()[0].caption, "Error");
    }
    EXPECT_FALSE(std::filesystem::exists(TempWav()));
}

TEST_F(SynthRunTest, LoudSoundIsScaledToFullRange) {
    WriteVoiceFile(voice, synthtest::SyntheticVoicing(6000, 200000));
    const std::vector<int32_t> samples = Render(voice);
    ASSERT_GT(PeakMagnitude(samples), 32767);
    ASSERT_EQ(Synthesize(voice, 0, 100, 700, 1200, 0, 0, 0), 1);
    const std::vector<uint8_t> bytes = ReadBytes(TempWav());
    int peak = 0;
    for (size_t i = 44; i < bytes.size(); i += 2)
        peak = std::max(peak, std::abs(static_cast<int16_t>(synthtest::U16At(bytes, i))));
    EXPECT_EQ(peak, 32767);
}

TEST_F(SynthRunTest, OutputFailuresReturnZero) {
    engine.SetOutputFolder(dir.File("no-such-folder"));
    EXPECT_EQ(Synthesize(voice, 0, 100, 700, 1200, 0, 0, 0), 0);
    EXPECT_EQ(messages.Texts(), std::vector<std::string>{"can't open wav-output file"});

    messages.Clear();
    EXPECT_EQ(Run(engine.Track(), "", voice, 100), 0);
    EXPECT_TRUE(messages.Messages().empty());
}

// The frames' messages reach the caller once per run, however many samples meet them: a
// source other than the sampled one and the parallel-only configuration.
TEST_F(SynthRunTest, AMessageMetAtEverySampleIsShownOncePerRun) {
    VowelTrack track;
    BuildVowelTrack(track, {700, 1200, 2750, 3850, 4950}, 0);
    const auto otherSource = static_cast<VoicingSource>(2); // one this engine does not render
    EXPECT_EQ(
        Run(track, dir.File("temp.raw"), voice, 10, otherSource, FilterConfiguration::ParallelOnly),
        1);
    EXPECT_EQ(messages.Texts(), (std::vector<std::string>{"error wrong source", "no cascade!"}));
}

TEST_F(SynthRunTest, TempFolderWithADotAndLongPaths) {
    std::string deep = dir.File("tmp.d");
    std::filesystem::create_directory(deep);
    engine.SetOutputFolder(deep);
    ASSERT_EQ(Synthesize(voice, 0, 1, 700, 1200, 0, 0, 0), 1);
    EXPECT_TRUE(std::filesystem::exists(deep + "/temp.wav"));
    for (int i = 0; i < 4; ++i) {
        deep += "/a-rather-long-folder-name-to-pass-eighty-characters";
        std::filesystem::create_directory(deep);
    }
    WriteVoiceFile(deep + "/voice.dat", synthtest::SyntheticVoicing(6000));
    engine.SetOutputFolder(deep);
    ASSERT_EQ(Synthesize(deep + "/voice.dat", 0, 100, 700, 1200, 0, 0, 0), 1);
    EXPECT_EQ(ReadBytes(deep + "/temp.wav").size(), 10044u);
}

TEST_F(SynthRunTest, FrameZeroSetsThePeriodForTheWholeRun) {
    VowelTrack track;
    BuildVowelTrack(track, {700, 1200, 2750, 3850, 4950}, 0);
    for (int k = 1; k < 5; ++k)
        track[k].f0Tenths = 3000; // would need a cut, but only frame 0 sets the period
    EXPECT_EQ(Run(track, dir.File("temp.raw"), voice, 10), 1);
    EXPECT_TRUE(messages.Messages().empty());
    track[0].f0Tenths = 3000; // the period is set twice per run, each time with the warning
    EXPECT_EQ(Run(track, dir.File("temp.raw"), voice, 10), 1);
    EXPECT_EQ(
        messages.Texts(),
        std::vector<std::string>(2, "Warning: glottal open period cannot exceed T0, truncated."));

    track[0].f0Tenths = 0; // no voicing in frame 0 silences all five frames
    EXPECT_EQ(Run(track, dir.File("temp.raw"), voice, 10), 1);
    const std::vector<uint8_t> bytes = ReadBytes(TempWav());
    ASSERT_EQ(bytes.size(), 44u + 1000u);
    EXPECT_EQ(std::count(bytes.begin() + 44, bytes.end(), 0), 1000);
}

} // namespace
