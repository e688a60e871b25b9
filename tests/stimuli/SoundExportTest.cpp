// Exported vowels: the rates, lengths and sample formats of the files, the chart's own bytes
// at the defaults, and a resampled sound with nothing above the rendered band.
#include "stimuli/SoundExport.h"

#include "CliRunner.h"
#include "SoundReading.h"
#include "Spectrum.h"
#include "synth/SynthEngine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>

namespace {

const std::string kVoice = QUIRNEL_DATA_DIR "/Dat/01-male.dat";

VowelStimulus Vowel() {
    VowelStimulus vowel;
    vowel.voiceFile = kVoice;
    vowel.f1 = 700;
    vowel.f2 = 1200;
    return vowel;
}

std::string Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(ExportVowel, WritesEachRateAndFormatAtTheSoundsLength) {
    TempDir dir;
    struct Case {
        int rate;
        SampleFormat format;
        const char* name;
        int subtype;
    };
    for (const Case& c : {Case{10000, SampleFormat::Float32, "a.wav", SF_FORMAT_FLOAT},
                          Case{22050, SampleFormat::Pcm16, "b.flac", SF_FORMAT_PCM_16},
                          Case{44100, SampleFormat::Pcm24, "c.WAV", SF_FORMAT_PCM_24},
                          Case{48000, SampleFormat::Pcm24, "d.flac", SF_FORMAT_PCM_24}}) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(ExportVowel(Vowel(), {c.rate, c.format}, dir.File(c.name)).message, "");
        SF_INFO info;
        const std::vector<double> sound = ReadSound(dir.File(c.name), info);
        EXPECT_EQ(info.samplerate, c.rate);
        EXPECT_EQ(info.channels, 1);
        EXPECT_EQ(info.frames, std::lround(5000.0 * c.rate / 10000));
        EXPECT_EQ(info.format & SF_FORMAT_SUBMASK, c.subtype);
        EXPECT_EQ(info.format & SF_FORMAT_TYPEMASK,
                  SoundFileTypeOf(c.name) == SoundFileType::Flac ? SF_FORMAT_FLAC : SF_FORMAT_WAV);
        double peak = 0;
        for (double s : sound)
            peak = std::max(peak, std::abs(s));
        EXPECT_GT(peak, 0.3); // the loudness of the chart's sound, not silence
        EXPECT_LE(peak, 1.0);
    }
}

// At 10000 samples per second in 16 bits the export is the chart's temp.wav, byte for byte.
TEST(ExportVowel, AtTheDefaultsWritesTheChartsOwnBytes) {
    TempDir dir;
    ASSERT_EQ(ExportVowel(Vowel(), SoundFormat{}, dir.File("export.wav")).message, "");
    SynthEngine chart(dir.Path()); // the chart's first vowel
    ASSERT_TRUE(chart.SynthesizeVowel(kVoice, 0, 100, 700, 1200, 0, 0, 0).Ok());
    EXPECT_EQ(Bytes(dir.File("export.wav")), Bytes(dir.File("temp.wav")));
}

// A resampled export in 16 or 24 bits holds the float export's samples rounded to the
// nearest step, never cut towards zero.
TEST(ExportVowel, IntegerSamplesAreTheFloatSamplesRounded) {
    TempDir dir;
    ASSERT_EQ(ExportVowel(Vowel(), {22050, SampleFormat::Float32}, dir.File("f.wav")).message, "");
    SF_INFO info;
    const std::vector<double> exact = ReadSound(dir.File("f.wav"), info);
    ASSERT_EQ(exact.size(), 11025u);
    for (const auto& [format, steps] :
         {std::pair{SampleFormat::Pcm16, 32768.0}, std::pair{SampleFormat::Pcm24, 8388608.0}}) {
        SCOPED_TRACE(steps);
        ASSERT_EQ(ExportVowel(Vowel(), {22050, format}, dir.File("i.wav")).message, "");
        const std::vector<double> integer = ReadSound(dir.File("i.wav"), info);
        ASSERT_EQ(integer.size(), exact.size());
        int wrong = 0;
        int between = 0; // samples that truncation and rounding would tell apart
        for (size_t i = 0; i < exact.size(); ++i) {
            const double value = exact[i] * steps;
            const double fraction = std::abs(value - std::trunc(value));
            if (std::abs(fraction - 0.5) < 0.01)
                continue; // a float32 sample cannot tell which side of the half it lay
            between += fraction > 0.5;
            wrong += integer[i] * steps != std::round(value);
        }
        EXPECT_EQ(wrong, 0);
        EXPECT_GT(between, 1000);
    }
}

// Resampling keeps the level: an export at any rate is as loud as the sound as rendered.
TEST(ExportVowel, EveryRateKeepsTheRenderedLevel) {
    TempDir dir;
    double rendered = 0;
    for (const int rate : kExportRates) {
        SCOPED_TRACE(rate);
        const std::string path = dir.File(std::to_string(rate) + ".wav");
        ASSERT_EQ(ExportVowel(Vowel(), {rate, SampleFormat::Float32}, path).message, "");
        SF_INFO info;
        double power = 0;
        const std::vector<double> sound = ReadSound(path, info);
        for (double s : sound)
            power += s * s / static_cast<double>(sound.size());
        if (rate == 10000)
            rendered = power;
        EXPECT_NEAR(10 * std::log10(power / rendered), 0, 0.1);
    }
}

// Level in dB, against the whole sound, of everything from fromHz up to the Nyquist
// frequency (a DFT in 10 Hz steps of the sound zero-padded to 0.1 s multiples).
double BandLevelDb(const std::vector<double>& x, int rate, double fromHz) {
    double band = 0;
    double total = 0;
    for (double hz = 0; hz < rate / 2.0; hz += 10) {
        const double power = std::norm(SpectrumAt(x, hz, rate));
        total += power;
        band += hz >= fromHz ? power : 0;
    }
    return 10 * std::log10(band / total);
}

TEST(ExportVowel, ResampledSoundHasNothingAboveTheRenderedBand) {
    TempDir dir;
    ASSERT_EQ(ExportVowel(Vowel(), {44100, SampleFormat::Float32}, dir.File("a.wav")).message, "");
    SF_INFO info;
    const std::vector<double> sound = ReadSound(dir.File("a.wav"), info);
    ASSERT_EQ(sound.size(), 22050u);
    // The resampler stops the band above 5 kHz by far more than this DFT of the unwindowed
    // sound can show (about 95 dB, its leakage).
    const double above = BandLevelDb(sound, 44100, 5050);
    EXPECT_LT(above, -90);
    std::printf("44100 Hz export: level above 5.05 kHz %.1f dB\n", above);
}

TEST(ExportVowel, RefusesWhatCannotBeWrittenAndLeavesTheTargetAlone) {
    TempDir dir;
    const std::string old = dir.File("old.wav");
    std::ofstream(old) << "old";
    for (const auto& [format, name] :
         {std::pair{SoundFormat{44100, SampleFormat::Float32}, "a.flac"},
          std::pair{SoundFormat{44100, SampleFormat::Pcm16}, "a.mp3"},
          std::pair{SoundFormat{16000, SampleFormat::Pcm16}, "old.wav"}}) {
        const ExportResult result = ExportVowel(Vowel(), format, dir.File(name));
        EXPECT_EQ(result.failure, ExportFailure::BadFormat) << name;
        EXPECT_FALSE(result.message.empty());
    }
    VowelStimulus missing = Vowel();
    missing.voiceFile = dir.File("missing.dat");
    const ExportResult result = ExportVowel(missing, {44100, SampleFormat::Pcm16}, old);
    EXPECT_EQ(result.failure, ExportFailure::Rendering);
    EXPECT_NE(result.message.find("Can't open voicing samples file"), std::string::npos);
    EXPECT_EQ(Bytes(old), "old");
    std::filesystem::create_directory(dir.File("folder.wav"));
    EXPECT_EQ(ExportVowel(Vowel(), {22050, SampleFormat::Pcm16}, dir.File("folder.wav")).failure,
              ExportFailure::Writing);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()),
                            std::filesystem::directory_iterator()),
              2);
}

TEST(CliRender, ExportsAtOtherRatesAndFormatsAndRefusesBadOnes) {
    if (!CliRunner::Built())
        GTEST_SKIP() << "quirnel-cli not built";
    TempDir dir;
    CliRunner cli;
    const std::string base = "render --voice '" + kVoice + "' --f1 700 --f2 1200 --out '";
    ASSERT_EQ(cli.Run(base + dir.File("a.flac") + "' --rate 48000 --format pcm24"), 0)
        << cli.Stderr();
    SF_INFO info;
    EXPECT_EQ(ReadSound(dir.File("a.flac"), info).size(), 24000u);
    EXPECT_EQ(info.format, SF_FORMAT_FLAC | SF_FORMAT_PCM_24);
    for (const char* args :
         {"b.wav' --rate 16000", "b.wav' --format pcm32", "b.flac' --format float",
          "b.wav' --rate x", "b.wav' --level loud", "b.wav' --level rms=-80.5",
          "b.wav' --level rms=0.5", "b.wav' --level rms=", "b.wav' --level rms=0"}) {
        SCOPED_TRACE(args);
        EXPECT_EQ(cli.Run(base + dir.File(args)), 2);
        EXPECT_FALSE(cli.Stderr().empty());
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()),
                            std::filesystem::directory_iterator()),
              1);
}

} // namespace

namespace {

std::string CliBytes(CliRunner& cli, const std::string& args, const std::string& out) {
    EXPECT_EQ(cli.Run("render --voice '" + kVoice + "' " + args + " --out '" + out + "'"), 0)
        << cli.Stderr();
    return out == "-" ? cli.Stdout() : Bytes(out);
}

double RmsDb(const std::vector<double>& sound) {
    double energy = 0;
    for (double s : sound)
        energy += s * s;
    return 10 * std::log10(energy / double(sound.size()));
}

double PeakOf(const std::vector<double>& sound) {
    double peak = 0;
    for (double s : sound)
        peak = std::max(peak, std::abs(s));
    return peak;
}

} // namespace

// One rule for every name: .flac gives FLAC, any other name WAV, also with --rate; "-" the
// same WAV on standard output. Without --f3 a vowel sounds as a click in the chart, whose F3
// slider starts at 2700 Hz.
TEST(CliRender, NamesStandardOutputAndTheChartsF3) {
    if (!CliRunner::Built())
        GTEST_SKIP() << "quirnel-cli not built";
    TempDir dir;
    CliRunner cli;
    const std::string vowel = "--f1 700 --f2 1200";
    const std::string chart = CliBytes(cli, vowel, dir.File("a.wav"));
    EXPECT_EQ(CliBytes(cli, vowel, dir.File("a.txt")), chart);
    EXPECT_EQ(CliBytes(cli, vowel, "-"), chart);
    EXPECT_EQ(CliBytes(cli, vowel + " --f3 2700", dir.File("b.wav")), chart);
    EXPECT_NE(CliBytes(cli, vowel + " --f3 2750", dir.File("b.wav")), chart);
    const std::string resampled = CliBytes(cli, vowel + " --rate 22050", dir.File("c.txt"));
    EXPECT_EQ(CliBytes(cli, vowel + " --rate 22050", "-"), resampled);
    SF_INFO info;
    EXPECT_EQ(ReadSound(dir.File("c.txt"), info).size(), 11025u);
    EXPECT_EQ(info.format, SF_FORMAT_WAV | SF_FORMAT_PCM_16);
    EXPECT_EQ(CliBytes(cli, vowel + " --rate 22050", dir.File("c.FLAC")).substr(0, 4), "fLaC");
}

// The level choices: the vowel's own level (a float file keeps it, an integer file that
// would clip is scaled down as the chart does), the peak at full scale, an RMS at both ends
// of its range, refused where an integer file would clip.
TEST(ExportVowel, WritesTheLevelAskedForAndSaysWhatItApplied) {
    TempDir dir;
    VowelStimulus loud = Vowel();
    loud.f1 = 900; // louder than 16 bits: the chart scales it down
    loud.f2 = 2600;
    AppliedLevel applied;
    SF_INFO info;
    const SoundFormat pcm16{10000, SampleFormat::Pcm16};
    const SoundFormat floats{10000, SampleFormat::Float32};
    ASSERT_EQ(ExportVowel(loud, pcm16, dir.File("chart.wav"), {}, &applied).message, "");
    const double scaledDb = applied.gainDb;
    EXPECT_LT(scaledDb, -6);
    EXPECT_NEAR(RmsDb(ReadSound(dir.File("chart.wav"), info)), applied.rmsDbfs, 0.01);
    ASSERT_EQ(ExportVowel(loud, floats, dir.File("own.wav"), {}, &applied).message, "");
    EXPECT_NEAR(applied.gainDb, 0, 1e-9);
    const std::vector<double> own = ReadSound(dir.File("own.wav"), info);
    EXPECT_GT(PeakOf(own), 1.5); // kept as it is, beyond full scale
    EXPECT_NEAR(RmsDb(own), applied.rmsDbfs, 0.01);
    EXPECT_NEAR(RmsDb(own) + scaledDb, RmsDb(ReadSound(dir.File("chart.wav"), info)), 0.01);

    ASSERT_EQ(ExportVowel(Vowel(), {44100, SampleFormat::Pcm24}, dir.File("peak.wav"),
                          {LevelRule::Peak}, &applied)
                  .message,
              "");
    EXPECT_NEAR(PeakOf(ReadSound(dir.File("peak.wav"), info)), 32767.0 / 32768, 1e-6);
    for (const double db : {kLowestRmsDb, kHighestRmsDb}) {
        ASSERT_EQ(ExportVowel(Vowel(), floats, dir.File("rms.wav"), {LevelRule::Rms, db}, &applied)
                      .message,
                  "");
        EXPECT_NEAR(RmsDb(ReadSound(dir.File("rms.wav"), info)), db, 0.01);
        EXPECT_NEAR(applied.rmsDbfs, db, 1e-9);
    }
    const ExportResult clipping =
        ExportVowel(Vowel(), pcm16, dir.File("clip.wav"), {LevelRule::Rms, -3});
    EXPECT_EQ(clipping.failure, ExportFailure::BadFormat);
    EXPECT_NE(clipping.message.find("would clip"), std::string::npos) << clipping.message;
    EXPECT_FALSE(std::filesystem::exists(dir.File("clip.wav")));

    SoundLevel level;
    for (const char* bad : {"rms=-80.01", "rms=0.01", "rms=-2e", "rms=nan", "RMS=-20", ""})
        EXPECT_NE(ParseSoundLevel(bad, level), "") << bad;
    EXPECT_EQ(ParseSoundLevel("rms=-23.5", level), "");
    EXPECT_EQ(SoundLevelName(level), "rms=-23.5");
}
