// The WAV writer: header fields, 16-bit scaling and the raw-to-WAV path rule.
#include "synth/WavFile.h"

#include "SynthTestSupport.h"
#include "TempDir.h"
#include "base/MessageBox.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using synthtest::U16At;
using synthtest::U32At;

TEST(WavHeader, FieldsForFiveHundredMillisecondSound) {
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
}

TEST(WavHeader, SizesForShortAndEmptySounds) {
    const std::vector<uint8_t> fifty = EncodeWav(std::vector<int32_t>(50, 7));
    EXPECT_EQ(fifty.size(), 144u);
    EXPECT_EQ(U32At(fifty, 4), 136u);
    EXPECT_EQ(U32At(fifty, 40), 100u);
    const std::vector<uint8_t> none = EncodeWav({});
    EXPECT_EQ(none.size(), 44u);
    EXPECT_EQ(U32At(none, 4), 36u);
    EXPECT_EQ(U32At(none, 40), 0u);
}

TEST(WavScaling, LoudSoundIsScaledSoItsPeakIs32767) {
    EXPECT_EQ(ScaleToSixteenBits(40000, 40000), 32767);
    EXPECT_EQ(ScaleToSixteenBits(-40000, 40000), -32767);
    EXPECT_EQ(ScaleToSixteenBits(20000, 40000), 16383);
    EXPECT_EQ(ScaleToSixteenBits(-20000, 40000), -16383); // toward zero
    EXPECT_EQ(ScaleToSixteenBits(-1, 40000), 0);
}

TEST(WavScaling, PeakOf32768IsScaledButQuieterSoundsAreNot) {
    EXPECT_EQ(PeakMagnitude({100, -32768, 5}), 32768);
    EXPECT_EQ(ScaleToSixteenBits(-32768, 32768), -32767);
    EXPECT_EQ(ScaleToSixteenBits(16384, 32768), 16383);
    EXPECT_EQ(ScaleToSixteenBits(32767, 32767), 32767);
    EXPECT_EQ(ScaleToSixteenBits(3, 100), 3); // not raised
    EXPECT_EQ(PeakMagnitude({}), 0);
    EXPECT_EQ(PeakMagnitude({INT32_MIN}), 2147483648LL);
    EXPECT_EQ(ScaleToSixteenBits(INT32_MIN, 2147483648LL), -32767);
}

TEST(WavScaling, SamplesAreLittleEndianTwosComplement) {
    const std::vector<uint8_t> bytes = EncodeWav({-1, 0x1234, -32767, 40000, 20000});
    // Peak 40000: -1 becomes 0 after scaling.
    EXPECT_EQ(U16At(bytes, 44), 0u);
    EXPECT_EQ(U16At(bytes, 50), 32767u);
    EXPECT_EQ(U16At(bytes, 52), 16383u);
    const std::vector<uint8_t> quiet = EncodeWav({-1, 0x1234, -32767});
    EXPECT_EQ(quiet[44], 0xFF);
    EXPECT_EQ(quiet[45], 0xFF);
    EXPECT_EQ(quiet[46], 0x34);
    EXPECT_EQ(quiet[47], 0x12);
    EXPECT_EQ(U16At(quiet, 48), 0x8001u);
}

TEST(WavPath, ExtensionOfTheLastComponentBecomesWav) {
    EXPECT_EQ(WavPathFromRawPath("/tmp/temp.raw"), "/tmp/temp.wav");
    EXPECT_EQ(WavPathFromRawPath("/tmp.d/temp.raw"), "/tmp.d/temp.wav");
    EXPECT_EQ(WavPathFromRawPath("/tmp.d/temp"), "/tmp.d/temp");
    EXPECT_EQ(WavPathFromRawPath("a.b.raw"), "a.b.wav");
    EXPECT_EQ(WavPathFromRawPath("temp.raw"), "temp.wav");
    EXPECT_EQ(WavPathFromRawPath("/x/.hidden"), "/x/.hidden");
    EXPECT_EQ(WavPathFromRawPath(""), "");
}

TEST(WriteWavFile, WritesTheEncodedImage) {
    TempDir dir;
    RecordingMessageSink messages;
    ScopedMessageSink scope(&messages);
    const std::vector<int32_t> samples = {1, -2, 30000, -40000};
    ASSERT_TRUE(WriteWavFile(dir.File("a.wav"), samples));
    EXPECT_EQ(synthtest::ReadBytes(dir.File("a.wav")), EncodeWav(samples));
    EXPECT_TRUE(messages.Messages().empty());
}

TEST(WriteWavFile, FileThatCannotBeCreatedIsReported) {
    TempDir dir;
    RecordingMessageSink messages;
    ScopedMessageSink scope(&messages);
    EXPECT_FALSE(WriteWavFile(dir.File("missing/a.wav"), {1, 2, 3}));
    ASSERT_EQ(messages.Messages().size(), 1u);
    EXPECT_EQ(messages.Messages()[0].text, "can't open wav-output file");
    EXPECT_EQ(messages.Messages()[0].caption, "Error");
}

TEST(WriteWavFile, WriteErrorIsNotReportedAsSuccess) {
    if (!std::filesystem::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full";
    RecordingMessageSink messages;
    ScopedMessageSink scope(&messages);
    EXPECT_FALSE(WriteWavFile("/dev/full", std::vector<int32_t>(5000, 1)));
    ASSERT_EQ(messages.Messages().size(), 1u);
    EXPECT_NE(messages.Messages()[0].text.find("/dev/full"), std::string::npos);
    EXPECT_EQ(messages.Messages()[0].caption, "Error");
}

} // namespace
