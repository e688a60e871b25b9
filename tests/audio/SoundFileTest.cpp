#include "audio/SoundFile.h"

#include "AudioTestSupport.h"
#include "TempDir.h"

#include <gtest/gtest.h>

namespace {

using audiotest::SampleFormat;
using audiotest::WriteWav;

class SoundFileTest : public ::testing::Test {
protected:
    TempDir m_dir;
};

TEST_F(SoundFileTest, Pcm16MonoKeepsEverySampleAndTheRate) {
    const std::string path = m_dir.File("temp.wav");
    ASSERT_TRUE(WriteWav(path, 10000, 1, SampleFormat::Pcm16, {0.0, 0.5, -0.5, 1.0, -1.0}));
    DecodedSound sound;
    ASSERT_TRUE(DecodeSoundFile(path, sound));
    EXPECT_EQ(sound.sampleRate, 10000);
    EXPECT_EQ(sound.channels, 1);
    EXPECT_EQ(sound.samples, (std::vector<int16_t>{0, 16384, -16384, 32767, -32767}));
}

TEST_F(SoundFileTest, FloatStereoIsConvertedAndClipped) {
    const std::string path = m_dir.File("stereo.wav");
    ASSERT_TRUE(WriteWav(path, 48000, 2, SampleFormat::Float32, {0.5, -0.25, 3.0, -3.0}));
    DecodedSound sound;
    ASSERT_TRUE(DecodeSoundFile(path, sound));
    EXPECT_EQ(sound.sampleRate, 48000);
    EXPECT_EQ(sound.channels, 2);
    EXPECT_EQ(sound.Frames(), 2u);
    ASSERT_EQ(sound.samples.size(), 4u);
    EXPECT_NEAR(sound.samples[0], 16384, 2);
    EXPECT_NEAR(sound.samples[1], -8192, 2);
    EXPECT_EQ(sound.samples[2], 32767);
    EXPECT_LE(sound.samples[3], -32767);
}

TEST_F(SoundFileTest, EightBitSamplesAreScaledUp) {
    const std::string path = m_dir.File("eight.wav");
    ASSERT_TRUE(WriteWav(path, 8000, 1, SampleFormat::Pcm8, {0.0, 1.0, -1.0}));
    DecodedSound sound;
    ASSERT_TRUE(DecodeSoundFile(path, sound));
    ASSERT_EQ(sound.samples.size(), 3u);
    EXPECT_EQ(sound.samples[0], 0);
    EXPECT_GT(sound.samples[1], 32000);
    EXPECT_LT(sound.samples[2], -32000);
}

TEST_F(SoundFileTest, DurationIsRoundedUpToWholeMilliseconds) {
    DecodedSound sound;
    sound.sampleRate = 10000;
    sound.channels = 1;
    sound.samples.resize(5000);
    EXPECT_EQ(sound.DurationMs(), 500);
    sound.samples.resize(5001);
    EXPECT_EQ(sound.DurationMs(), 501);
    sound.channels = 2;
    EXPECT_EQ(sound.DurationMs(), 250);
}

TEST_F(SoundFileTest, UnplayableFilesGiveNothing) {
    DecodedSound sound;
    sound.sampleRate = 1;
    sound.samples = {1, 2, 3};
    EXPECT_FALSE(DecodeSoundFile(m_dir.File("missing.wav"), sound));
    EXPECT_TRUE(sound.samples.empty());
    EXPECT_EQ(sound.sampleRate, 0);

    const std::string garbage = m_dir.File("garbage.wav");
    std::ofstream(garbage, std::ios::binary) << "RIFF\x10\0\0\0WAVEjunkjunkjunk";
    EXPECT_FALSE(DecodeSoundFile(garbage, sound));

    const std::string silent = m_dir.File("nosamples.wav");
    ASSERT_TRUE(WriteWav(silent, 10000, 1, SampleFormat::Pcm16, {}));
    EXPECT_FALSE(DecodeSoundFile(silent, sound));
    EXPECT_FALSE(DecodeSoundFile(m_dir.Path(), sound));
}

TEST_F(SoundFileTest, TruncatedFileGivesWhatIsThere) {
    const std::string path = m_dir.File("cut.wav");
    ASSERT_TRUE(WriteWav(path, 10000, 1, SampleFormat::Pcm16, audiotest::Sine(440, 10000, 1.0)));
    // The header still claims 10000 samples; only 100 remain.
    std::filesystem::resize_file(path, 44 + 200);
    DecodedSound sound;
    ASSERT_TRUE(DecodeSoundFile(path, sound));
    EXPECT_EQ(sound.samples.size(), 100u);
}

} // namespace
