// The formant analyser on vowels of known formants, its voicing decision and quirnel-cli
// measure.
#include "analysis/FormantAnalysis.h"
#include "analysis/LiveFormants.h"
#include "stimuli/VowelStimulus.h"

#include "CliRunner.h"
#include "TempDir.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <sstream>

namespace {

constexpr double kPi = 3.14159265358979323846;

struct Vowel {
    double f0, f1, f2, f3;
};

// An independent source-filter vowel: Rosenberg glottal pulses, differentiated for the lips'
// radiation, through a cascade of two-pole resonators (F1-F3, then F4 and F5 of a tract of
// the same length); the pitch falls by 5 % over the vowel. Breath adds white noise to the
// source, its RMS that share of the pulses' peak.
std::vector<float> SourceFilterVowel(const Vowel& v, double rate, double seconds,
                                     double breath = 0) {
    const size_t n = static_cast<size_t>(rate * seconds);
    std::vector<double> x(n);
    std::mt19937 random(3);
    std::normal_distribution<double> noise(0, 1);
    double phase = 0, previous = 0;
    for (size_t i = 0; i < n; ++i) {
        const double f0 = v.f0 * (1.025 - 0.05 * static_cast<double>(i) / n);
        phase += f0 / rate;
        phase -= std::floor(phase);
        const double open = 0.4, closing = 0.16;
        double flow = 0;
        if (phase < open)
            flow = 0.5 * (1 - std::cos(kPi * phase / open));
        else if (phase < open + closing)
            flow = std::cos(0.5 * kPi * (phase - open) / closing);
        x[i] = flow - previous + breath * noise(random) * 0.5 * kPi * f0 / (open * rate);
        previous = flow;
    }
    const double formants[5][2] = {
        {v.f1, 60}, {v.f2, 90}, {v.f3, 150}, {v.f3 * 1.3, 250}, {v.f3 * 1.6, 300}};
    for (const auto& [f, b] : formants) {
        const double r = std::exp(-kPi * b / rate);
        const double c1 = 2 * r * std::cos(2 * kPi * f / rate), c2 = -r * r;
        double y1 = 0, y2 = 0;
        for (double& s : x) {
            const double y = (1 - c1 - c2) * s + c1 * y1 + c2 * y2;
            y2 = y1;
            y1 = y;
            s = y;
        }
    }
    double peak = 0;
    for (double s : x)
        peak = std::max(peak, std::abs(s));
    std::vector<float> out(n);
    for (size_t i = 0; i < n; ++i)
        out[i] = static_cast<float>(0.5 * x[i] / peak);
    return out;
}

double RelativeError(double measured, double asked) {
    return std::abs(measured - asked) / asked;
}

// Men's, women's and children's vowels at their own pitch: the reading lies within the
// given share of the asked formant.
TEST(FormantAnalysis, ReadsSourceFilterVowelsOfEveryVoice) {
    struct Case {
        Vowel vowel;
        double f1Tolerance;
    } cases[] = {
        {{110, 730, 1090, 2440}, 0.04},  {{120, 300, 870, 2240}, 0.06},
        {{220, 850, 1220, 2810}, 0.06},  {{210, 430, 2020, 2960}, 0.08},
        {{300, 1030, 1370, 3170}, 0.08}, {{280, 560, 2320, 3320}, 0.10},
    };
    for (const Case& c : cases) {
        const FormantSummary s =
            SummariseVowel(TrackFormants(SourceFilterVowel(c.vowel, 16000, 0.5), 16000));
        SCOPED_TRACE("F0 " + std::to_string(c.vowel.f0) + " F1 " + std::to_string(c.vowel.f1));
        ASSERT_TRUE(s.voiced);
        EXPECT_LT(RelativeError(s.f0Hz, c.vowel.f0), 0.03);
        EXPECT_LT(RelativeError(s.formantsHz[0], c.vowel.f1), c.f1Tolerance);
        EXPECT_LT(RelativeError(s.formantsHz[1], c.vowel.f2), 0.03);
        EXPECT_LT(RelativeError(s.formantsHz[2], c.vowel.f3), 0.05);
        EXPECT_NEAR(s.voicedS, 0.5, 0.05);
    }
}

// The frames of live listening over a signal pushed in 10 ms pieces.
std::vector<FormantFrame> LiveTrack(const std::vector<float>& samples, double rate) {
    CLiveFormants live(rate);
    std::vector<FormantFrame> track;
    const size_t piece = static_cast<size_t>(rate / 100);
    for (size_t i = 0; i < samples.size(); i += piece)
        live.Push(samples.data() + i, std::min(piece, samples.size() - i),
                  [&](const LiveFrame& frame) { track.push_back(frame.formants); });
    return track;
}

// The pitch of breathy voices, whose noise fills the gaps between the harmonics, is not
// halved (men's, a woman's and a child's /i/, F1 near the second harmonic), in a recording
// or heard live.
TEST(FormantAnalysis, ReadsThePitchOfBreathyVoices) {
    const struct {
        Vowel vowel;
        double breath;
    } cases[] = {
        {{156, 270, 2290, 3010}, 0.3},
        {{125, 250, 2200, 2830}, 0.5},
        {{230, 300, 2700, 3300}, 0.3},
        {{339, 400, 3100, 3700}, 0.3},
    };
    for (const auto& c : cases) {
        const std::vector<float> vowel = SourceFilterVowel(c.vowel, 16000, 0.5, c.breath);
        SCOPED_TRACE("F0 " + std::to_string(c.vowel.f0) + " F1 " + std::to_string(c.vowel.f1));
        for (const FormantSummary& s : {SummariseVowel(TrackFormants(vowel, 16000)),
                                        SummariseVowel(LiveTrack(vowel, 16000))}) {
            ASSERT_TRUE(s.voiced);
            EXPECT_LT(RelativeError(s.f0Hz, c.vowel.f0), 0.03);
        }
    }
}

// The engine's own vowels in the bundled men's, women's and children's voices.
TEST(FormantAnalysis, ReadsTheEnginesVowels) {
    const char* voices[] = {"01-male.dat", "02-female.dat", "03-child.dat"};
    const int vowels[][3] = {{730, 1090, 2440}, {390, 1990, 2550}};
    for (const char* voice : voices) {
        for (const auto& f : vowels) {
            VowelStimulus stimulus;
            stimulus.voiceFile = std::string(QUIRNEL_DATA_DIR "/Dat/") + voice;
            stimulus.f1 = f[0];
            stimulus.f2 = f[1];
            stimulus.f3 = f[2];
            RenderedVowel rendered;
            ASSERT_EQ(RenderStimulus(stimulus, rendered), "");
            std::vector<float> samples(rendered.exact.begin(), rendered.exact.end());
            for (float& s : samples)
                s /= 32768.0f;
            const FormantSummary s = SummariseVowel(TrackFormants(samples, kRenderedRate));
            SCOPED_TRACE(std::string(voice) + " F1 " + std::to_string(f[0]));
            ASSERT_TRUE(s.voiced);
            // Below 2.5 x F0 the first formant cannot be told from the source's own peak:
            // the analyser must say so rather than be trusted there.
            if (f[0] < 2.5 * s.f0Hz)
                EXPECT_TRUE(s.f1Uncertain);
            else
                EXPECT_LT(RelativeError(s.formantsHz[0], f[0]), 0.08);
            EXPECT_LT(RelativeError(s.formantsHz[1], f[1]), 0.035);
            EXPECT_LT(RelativeError(s.formantsHz[2], f[2]), 0.05);
        }
    }
}

// The same vowel read at two rates gives the same formants; a stereo file is mixed down.
TEST(FormantAnalysis, ReadsAnyRateAndMixesChannels) {
    const Vowel v{200, 640, 1190, 2390};
    const FormantSummary low =
        SummariseVowel(TrackFormants(SourceFilterVowel(v, 16000, 0.4), 16000));
    const std::vector<float> high = SourceFilterVowel(v, 44100, 0.4);
    std::vector<float> stereo;
    for (float s : high) {
        stereo.push_back(s);
        stereo.push_back(0);
    }
    const FormantSummary mixed = SummariseVowel(TrackFormants(MixToMono(stereo, 2), 44100));
    ASSERT_TRUE(low.voiced && mixed.voiced);
    for (int i = 0; i < 3; ++i)
        EXPECT_LT(RelativeError(mixed.formantsHz[i], low.formantsHz[i]), 0.02) << "F" << i + 1;
}

// Silence, noise and a lone tone hold no voice; a vowel between silences is voiced just
// where it sounds.
TEST(FormantAnalysis, VoicesOnlyAVoice) {
    const double rate = 16000;
    std::vector<float> silence(16000, 0.0f), noise(16000), tone(16000);
    std::mt19937 random(7);
    std::normal_distribution<float> gauss(0, 0.1f);
    for (size_t i = 0; i < noise.size(); ++i) {
        noise[i] = gauss(random);
        tone[i] = 0.5f * static_cast<float>(std::sin(2 * kPi * 200 * i / rate));
    }
    for (const auto* signal : {&silence, &noise, &tone}) {
        int voiced = 0;
        for (const FormantFrame& frame : TrackFormants(*signal, rate))
            voiced += frame.voiced;
        EXPECT_EQ(voiced, 0);
    }
    std::vector<float> padded(4800, 0.0f);
    const std::vector<float> vowel = SourceFilterVowel({150, 600, 1700, 2600}, rate, 0.5);
    padded.insert(padded.end(), vowel.begin(), vowel.end());
    padded.insert(padded.end(), 4800, 0.0f);
    const std::vector<FormantFrame> track = TrackFormants(padded, rate);
    double first = -1, last = -1;
    for (const FormantFrame& frame : track) {
        if (frame.voiced) {
            last = frame.timeS;
            first = first < 0 ? frame.timeS : first;
        }
    }
    EXPECT_NEAR(first, 0.3, 0.03);
    EXPECT_NEAR(last, 0.8, 0.03);
    EXPECT_FALSE(SummariseFormants(track, 0, 0.25).voiced);
}

void WriteWav(const std::string& path, const std::vector<float>& samples, int rate) {
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = 1;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    ASSERT_NE(file, nullptr);
    sf_write_float(file, samples.data(), static_cast<sf_count_t>(samples.size()));
    sf_close(file);
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// A file that cannot be read is refused with exit status 2 while the others are still
// measured; a file with no voice gives a row of empty cells.
TEST(CliMeasure, WritesOneRowPerFileAndRefusesWhatItCannotRead) {
    if (!CliRunner::Built())
        GTEST_SKIP() << "quirnel-cli is not built";
    TempDir dir;
    WriteWav(dir.File("a,1.wav"), SourceFilterVowel({220, 850, 1220, 2810}, 22050, 0.5), 22050);
    WriteWav(dir.File("quiet.wav"), std::vector<float>(8000, 0.0f), 16000);
    CliRunner cli;
    EXPECT_EQ(cli.Run("measure '" + dir.File("a,1.wav") + "' '" + dir.File("missing.wav") + "' '" +
                      dir.Path() + "' '" + dir.File("quiet.wav") + "'"),
              2);
    const std::vector<std::string> rows = Lines(cli.Stdout());
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0], "file,f0_hz,f1_hz,f2_hz,f3_hz,voiced_s,f1_uncertain");
    double f0 = 0, f1 = 0, f2 = 0;
    const std::string prefix = "\"" + dir.File("a,1.wav") + "\",";
    ASSERT_EQ(rows[1].rfind(prefix, 0), 0u) << rows[1];
    ASSERT_EQ(std::sscanf(rows[1].c_str() + prefix.size(), "%lf,%lf,%lf", &f0, &f1, &f2), 3);
    EXPECT_NEAR(f0, 220, 8);
    EXPECT_NEAR(f2, 1220, 40);
    EXPECT_EQ(rows[2], dir.File("quiet.wav") + ",,,,,0.00,");
    EXPECT_NE(cli.Stderr().find("missing.wav"), std::string::npos);
    EXPECT_NE(cli.Stderr().find("is a folder"), std::string::npos);
    EXPECT_NE(cli.Stderr().find("quiet.wav\" has no voiced stretch"), std::string::npos);

    EXPECT_EQ(cli.Run("measure --track --from 0.1 --to 0.2 '" + dir.File("a,1.wav") + "'"), 0);
    const std::vector<std::string> frames = Lines(cli.Stdout());
    ASSERT_EQ(frames.size(), 12u);
    EXPECT_EQ(frames[0], "file,time_s,f0_hz,f1_hz,f2_hz,f3_hz,b1_hz,b2_hz,b3_hz,f1_uncertain");
    EXPECT_EQ(std::count(frames[1].begin(), frames[1].end(), ','), 10); // with the quoted comma
    EXPECT_NE(frames[1].find(",0.100,"), std::string::npos);
    EXPECT_NE(frames[11].find(",0.200,"), std::string::npos);

    EXPECT_EQ(cli.Run("measure --from 0.3 --to 0.2 '" + dir.File("a,1.wav") + "'"), 2);
    EXPECT_EQ(cli.Run("measure --to -1 '" + dir.File("a,1.wav") + "'"), 2);
    EXPECT_EQ(cli.Run("measure"), 2);
}

} // namespace
