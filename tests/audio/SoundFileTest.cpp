#include "audio/SoundFile.h"

#include "AudioTestSupport.h"
#include "TempDir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

using audiotest::SampleFormat;
using audiotest::WriteWav;

TEST(SoundFile, PcmKeepsEverySampleAndTheRate) {
    TempDir dir;
    const std::string path = dir.File("temp.wav");
    ASSERT_TRUE(WriteWav(path, 10000, 1, SampleFormat::Pcm16, {0.0, 0.5, -0.5, 1.0, -1.0}));
    DecodedSound sound;
    ASSERT_TRUE(DecodeSoundFile(path, sound));
    EXPECT_EQ(sound.sampleRate, 10000);
    EXPECT_EQ(sound.channels, 1);
    EXPECT_EQ(sound.samples, (std::vector<int16_t>{0, 16384, -16384, 32767, -32767}));
    EXPECT_EQ(sound.DurationMs(), 1);

    ASSERT_TRUE(WriteWav(path, 8000, 1, SampleFormat::Pcm8, {0.0, 1.0, -1.0}));
    ASSERT_TRUE(DecodeSoundFile(path, sound));
    EXPECT_EQ(sound.samples, (std::vector<int16_t>{0, 127 * 256, -127 * 256}));
}

TEST(SoundFile, FloatIsTakenAtFullScaleAndClipped) {
    TempDir dir;
    const std::string path = dir.File("stereo.wav");
    ASSERT_TRUE(WriteWav(path, 48000, 2, SampleFormat::Float32, {0.5, -0.25, 3.0, -3.0}));
    DecodedSound sound;
    ASSERT_TRUE(DecodeSoundFile(path, sound));
    EXPECT_EQ(sound.sampleRate, 48000);
    EXPECT_EQ(sound.channels, 2);
    EXPECT_EQ(sound.Frames(), 2u);
    EXPECT_EQ(sound.samples, (std::vector<int16_t>{16384, -8192, 32767, -32768}));
}

TEST(SoundFile, UnplayableFilesGiveNothing) {
    TempDir dir;
    DecodedSound sound;
    sound.samples = {1, 2, 3};
    EXPECT_FALSE(DecodeSoundFile(dir.File("missing.wav"), sound));
    EXPECT_TRUE(sound.samples.empty());
    const std::string garbage = dir.File("garbage.wav");
    std::ofstream(garbage, std::ios::binary) << "RIFF\x10\0\0\0WAVEjunkjunkjunk";
    EXPECT_FALSE(DecodeSoundFile(garbage, sound));
    const std::string empty = dir.File("nosamples.wav");
    ASSERT_TRUE(WriteWav(empty, 10000, 1, SampleFormat::Pcm16, {}));
    EXPECT_FALSE(DecodeSoundFile(empty, sound));
    EXPECT_FALSE(DecodeSoundFile(dir.Path(), sound));
}

// Nothing but a regular file is read (a pipe would wait for a writer), and a file longer
// than the limit is refused from its header before anything is read.
TEST(SoundFile, PipesFoldersDevicesAndOverlongFilesAreRefusedUnread) {
    TempDir dir;
    SoundFileFormat format;
    int error = 0;
    ASSERT_EQ(mkfifo(dir.File("pipe.wav").c_str(), 0600), 0);
    EXPECT_EQ(ReadSoundFileFormat(dir.File("pipe.wav"), format, &error), SoundFileStatus::NotAFile);
    EXPECT_EQ(error, EINVAL);
    EXPECT_EQ(ReadSoundFileFormat(dir.Path(), format, &error), SoundFileStatus::NotAFile);
    EXPECT_EQ(error, EISDIR);
    EXPECT_EQ(ReadSoundFileFormat("/dev/zero", format), SoundFileStatus::NotAFile);
    EXPECT_EQ(ReadSoundFileFormat(dir.File("missing.wav"), format, &error),
              SoundFileStatus::CannotOpen);
    EXPECT_EQ(error, ENOENT);

    const std::string path = dir.File("long.wav");
    ASSERT_TRUE(
        audiotest::WriteSilentWav(path, 48000, 2, SampleFormat::Float32, kMaxSoundSamples / 2 + 1));
    DecodedSound sound;
    SoundFileStatus status = SoundFileStatus::Ok;
    EXPECT_FALSE(DecodeSoundFile(path, sound, &status));
    EXPECT_EQ(status, SoundFileStatus::TooLong);
    ASSERT_TRUE(
        audiotest::WriteSilentWav(path, 48000, 2, SampleFormat::Pcm16, kMaxSoundSamples / 2));
    EXPECT_EQ(ReadSoundFileFormat(path, format), SoundFileStatus::Ok);
    EXPECT_EQ(format.frames, kMaxSoundSamples / 2);
}

TEST(SoundFile, TruncatedFileGivesWhatIsThere) {
    TempDir dir;
    const std::string path = dir.File("cut.wav");
    ASSERT_TRUE(WriteWav(path, 10000, 1, SampleFormat::Pcm16, audiotest::Sine(440, 10000, 1)));
    std::filesystem::resize_file(path, 44 + 200); // the header still claims 10000 samples
    DecodedSound sound;
    ASSERT_TRUE(DecodeSoundFile(path, sound));
    EXPECT_EQ(sound.samples.size(), 100u);
}

} // namespace
