// The WAV writer: header fields, 16-bit scaling and the raw-to-WAV path rule.
#include "synth/WavFile.h"

#include "FileSizeLimit.h"
#include "SynthTestSupport.h"
#include "TempDir.h"
#include "base/MessageBox.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

namespace {

using synthtest::Shown;
using synthtest::U16At;
using synthtest::U32At;

TEST(WavHeader, FieldsAndSizes) {
    const std::vector<uint8_t> bytes = EncodeWav(std::vector<int32_t>(5000, 0));
    ASSERT_EQ(bytes.size(), 10044u);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "RIFF");
    EXPECT_EQ(U32At(bytes, 4), 10036u);
    EXPECT_EQ(std::string(bytes.begin() + 8, bytes.begin() + 16), "WAVEfmt ");
    EXPECT_EQ(U32At(bytes, 16), 16u);
    EXPECT_EQ(U16At(bytes, 20), 1u);     // PCM
    EXPECT_EQ(U16At(bytes, 22), 1u);     // mono
    EXPECT_EQ(U32At(bytes, 24), 10000u); // samples per second
    EXPECT_EQ(U32At(bytes, 28), 20000u); // bytes per second
    EXPECT_EQ(U16At(bytes, 32), 2u);
    EXPECT_EQ(U16At(bytes, 34), 16u);
    EXPECT_EQ(std::string(bytes.begin() + 36, bytes.begin() + 40), "data");
    EXPECT_EQ(U32At(bytes, 40), 10000u);

    const std::vector<uint8_t> fifty = EncodeWav(std::vector<int32_t>(50, 7));
    EXPECT_EQ(fifty.size(), 144u);
    EXPECT_EQ(U32At(fifty, 4), 136u);
    EXPECT_EQ(U32At(fifty, 40), 100u);
    EXPECT_EQ(EncodeWav({}).size(), 44u);
}

TEST(WavScaling, OnlySoundsLouderThan32767AreScaled) {
    EXPECT_EQ(ScaleToSixteenBits(40000, 40000), 32767);
    EXPECT_EQ(ScaleToSixteenBits(-40000, 40000), -32767);
    EXPECT_EQ(ScaleToSixteenBits(20000, 40000), 16383);
    EXPECT_EQ(ScaleToSixteenBits(-20000, 40000), -16383); // toward zero
    // A peak of exactly 32768 (a sample of -32768) is scaled.
    EXPECT_EQ(PeakMagnitude({100, -32768, 5}), 32768);
    EXPECT_EQ(ScaleToSixteenBits(-32768, 32768), -32767);
    EXPECT_EQ(ScaleToSixteenBits(16384, 32768), 16383);
    EXPECT_EQ(ScaleToSixteenBits(32767, 32767), 32767);
    EXPECT_EQ(ScaleToSixteenBits(3, 100), 3); // not raised
    EXPECT_EQ(PeakMagnitude({INT32_MIN}), 2147483648LL);
}

TEST(WavScaling, SamplesAreLittleEndianTwosComplement) {
    const std::vector<uint8_t> quiet = EncodeWav({-1, 0x1234, -32767});
    EXPECT_EQ(quiet[44], 0xFF);
    EXPECT_EQ(quiet[45], 0xFF);
    EXPECT_EQ(quiet[46], 0x34);
    EXPECT_EQ(quiet[47], 0x12);
    EXPECT_EQ(U16At(quiet, 48), 0x8001u);
    const std::vector<uint8_t> loud = EncodeWav({-1, 40000, 20000});
    EXPECT_EQ(U16At(loud, 44), 0u);
    EXPECT_EQ(U16At(loud, 46), 32767u);
    EXPECT_EQ(U16At(loud, 48), 16383u);
}

TEST(WavPath, ExtensionOfTheLastComponentBecomesWav) {
    EXPECT_EQ(WavPathFromRawPath("/tmp/temp.raw"), "/tmp/temp.wav");
    EXPECT_EQ(WavPathFromRawPath("/tmp.d/temp.raw"), "/tmp.d/temp.wav");
    EXPECT_EQ(WavPathFromRawPath("/tmp.d/temp"), "/tmp.d/temp");
    EXPECT_EQ(WavPathFromRawPath("a.b.raw"), "a.b.wav");
    EXPECT_EQ(WavPathFromRawPath(""), "");
}

TEST(WriteWavFile, WritesTheImageAndReportsEveryFailure) {
    TempDir dir;
    RecordingMessageSink messages;
    ScopedMessageSink scope(&messages);
    const std::string path = dir.File("a.wav");
    synthtest::WriteText(path, std::string(50000, 'x')); // a longer old file is cut
    ASSERT_TRUE(Shown(WriteWavFile(path, {1, -2, 30000, -40000})));
    EXPECT_EQ(synthtest::ReadBytes(path), EncodeWav({1, -2, 30000, -40000}));
    EXPECT_TRUE(messages.Messages().empty());

    EXPECT_FALSE(Shown(WriteWavFile(dir.File("missing/a.wav"), {1, 2, 3})));
    EXPECT_EQ(messages.Texts(), std::vector<std::string>{"can't open wav-output file"});
    EXPECT_EQ(messages.Messages()[0].caption, "Error");

    messages.Clear();
    {
        FileSizeLimit limit(1000); // as on a full disk
        EXPECT_FALSE(Shown(WriteWavFile(path, std::vector<int32_t>(5000, 1))));
    }
    ASSERT_EQ(messages.Messages().size(), 1u);
    EXPECT_NE(messages.Texts()[0].find("Can't write wav-output file:\n" + path), std::string::npos);
}

// The file is the program's own: whatever stands under its name, a rendering writes that
// file and nothing else, and never waits.
TEST(WriteWavFile, NeverWritesThroughALinkAndRefusesPipesDevicesAndFolders) {
    TempDir dir;
    RecordingMessageSink messages;
    ScopedMessageSink scope(&messages);
    const std::string other = dir.File("precious.txt");
    synthtest::WriteText(other, "keep me");
    const std::string symbolic = dir.File("temp.wav");
    std::filesystem::create_symlink(other, symbolic);
    ASSERT_TRUE(Shown(WriteWavFile(symbolic, {1, 2, 3})));
    const std::string hard = dir.File("hard.wav");
    std::filesystem::create_hard_link(other, hard);
    ASSERT_TRUE(Shown(WriteWavFile(hard, {1, 2, 3})));
    EXPECT_FALSE(std::filesystem::is_symlink(symbolic));
    EXPECT_EQ(synthtest::ReadBytes(symbolic), EncodeWav({1, 2, 3}));
    EXPECT_EQ(synthtest::ReadBytes(hard), EncodeWav({1, 2, 3}));
    EXPECT_EQ(synthtest::ReadBytes(other),
              std::vector<uint8_t>({'k', 'e', 'e', 'p', ' ', 'm', 'e'}));
    EXPECT_TRUE(messages.Messages().empty());

    const std::string pipe = dir.File("pipe.wav");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    std::filesystem::create_directory(dir.File("folder.wav"));
    for (const std::string& path : {pipe, dir.File("folder.wav"), std::string("/dev/full")}) {
        messages.Clear();
        EXPECT_FALSE(Shown(WriteWavFile(path, {1, 2, 3}))) << path;
        EXPECT_EQ(messages.Texts(), std::vector<std::string>{"can't open wav-output file"});
    }
    EXPECT_EQ(std::filesystem::status(pipe).type(), std::filesystem::file_type::fifo);
}

} // namespace
