// Reading voice data files: the free number forms and every kind of broken file.
#include "synth/VoiceFile.h"

#include "SynthTestSupport.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <memory>

namespace {

// Parses text from a heap buffer of exactly its size (no terminator), so that a read past
// the end is caught by AddressSanitizer.
bool Parse(const std::string& text, VoiceSamples& out) {
    std::unique_ptr<char[]> buffer(new char[text.size() ? text.size() : 1]);
    std::copy(text.begin(), text.end(), buffer.get());
    return ParseVoiceData(buffer.get(), text.size(), out);
}

VoiceSamples ParseText(const std::string& text) {
    VoiceSamples samples;
    Parse(text, samples);
    return samples;
}

using Samples = std::vector<int32_t>;

TEST(ParseVoiceData, CountScaleAndSamples) {
    VoiceSamples voice;
    EXPECT_TRUE(Parse("3\n0.00001\n10\n-20\n30\n", voice));
    EXPECT_EQ(voice.count, 3);
    EXPECT_FLOAT_EQ(voice.scale, 0.00001f);
    EXPECT_EQ(voice.samples, (Samples{10, -20, 30}));
    // Extra numbers after the N samples are ignored.
    EXPECT_TRUE(Parse("2 1 5 6 7 8", voice));
    EXPECT_EQ(voice.samples, (Samples{5, 6}));
}

TEST(ParseVoiceData, IntegersInDecimalHexAndOctal) {
    EXPECT_EQ(ParseText("0x5 1.0 0x10 -0x1f 010 -017 +9 0 0X7F").samples,
              (Samples{16, -31, 8, -15, 9}));
    EXPECT_EQ(ParseText("3 1 0 00 0xA").samples, (Samples{0, 0, 10}));
    // "08" is the octal 0 followed by the number 8, as the C library reads it.
    EXPECT_EQ(ParseText("2 1 08").samples, (Samples{0, 8}));
    EXPECT_EQ(ParseText("1\t\r\n 1.5\r\n-7\r\n").samples, (Samples{-7}));
}

TEST(ParseVoiceData, ScaleFactorForms) {
    EXPECT_FLOAT_EQ(ParseText("1 1e-5 7").scale, 1e-5f);
    EXPECT_FLOAT_EQ(ParseText("1 .5 7").scale, 0.5f);
    EXPECT_FLOAT_EQ(ParseText("1 -0.25 7").scale, -0.25f);
    EXPECT_FLOAT_EQ(ParseText("1 +3 7").scale, 3.0f);
    EXPECT_FLOAT_EQ(ParseText("1 0x1p-2 7").scale, 0.25f);
    EXPECT_EQ(ParseText("1 1e999 7").samples, Samples{7});
    EXPECT_TRUE(ParseText("1 --1 7").samples.empty());
}

TEST(ParseVoiceData, ValuesBeyond32BitsAreClamped) {
    EXPECT_EQ(ParseText("2 1 99999999999999999999 -99999999999999999999").samples,
              (Samples{INT32_MAX, INT32_MIN}));
    EXPECT_EQ(ParseText("2 1 2147483647 -2147483648").samples, (Samples{INT32_MAX, INT32_MIN}));
}

TEST(ParseVoiceData, FilesWithoutUsableCountGiveAnEmptyStore) {
    for (const char* text : {"", "   \n", "abc", "3", "3 x 1 2 3", "-5 1.0 1 2 3", "0 1.0 4"}) {
        SCOPED_TRACE(text);
        VoiceSamples voice;
        voice.samples = {1, 2};
        voice.count = 2;
        Parse(text, voice);
        EXPECT_EQ(voice.count, 0);
        EXPECT_TRUE(voice.samples.empty());
    }
    VoiceSamples voice;
    EXPECT_TRUE(Parse("0 1.0", voice)); // an honest empty file
    EXPECT_FALSE(Parse("-1 1.0", voice));
}

TEST(ParseVoiceData, FileEndingEarlyKeepsTheSamplesRead) {
    VoiceSamples voice;
    EXPECT_FALSE(Parse("5 1.0 1 2", voice));
    EXPECT_EQ(voice.count, 2);
    EXPECT_EQ(voice.samples, (Samples{1, 2}));
    EXPECT_FALSE(Parse("4 1.0 1 2 x 4", voice));
    EXPECT_EQ(voice.samples, (Samples{1, 2}));
    EXPECT_FALSE(Parse("4 1.0 1 2.5 4", voice)); // "2" then ".5" is no integer
    EXPECT_EQ(voice.samples, (Samples{1, 2}));
    EXPECT_FALSE(Parse("3 1.0 12", voice)); // ends inside the buffer with no terminator
    EXPECT_EQ(voice.samples, Samples{12});
}

TEST(ParseVoiceData, HugeCountInATinyFileAllocatesLittle) {
    VoiceSamples voice;
    EXPECT_FALSE(Parse("2147483647 1.0 1 2 3", voice));
    EXPECT_EQ(voice.samples, (Samples{1, 2, 3}));
    EXPECT_LE(voice.samples.capacity(), 16u);
    EXPECT_FALSE(Parse("0x7fffffff 1.0", voice));
    EXPECT_LE(voice.samples.capacity(), 16u);
}

TEST(ReadVoiceFile, ReadsAFileAndRefusesWhatCannotBeOpened) {
    TempDir dir;
    synthtest::WriteVoiceFile(dir.File("v.dat"), {4, -5, 6});
    VoiceSamples voice;
    EXPECT_EQ(ReadVoiceFile(dir.File("v.dat"), voice), VoiceFileStatus::Loaded);
    EXPECT_EQ(voice.samples, (Samples{4, -5, 6}));
    EXPECT_EQ(voice.count, 3);

    VoiceSamples untouched;
    untouched.samples = {9};
    EXPECT_EQ(ReadVoiceFile(dir.File("missing.dat"), untouched), VoiceFileStatus::CantOpen);
    EXPECT_EQ(ReadVoiceFile(dir.Path(), untouched), VoiceFileStatus::CantOpen); // a folder
    EXPECT_EQ(untouched.samples, Samples{9});

    synthtest::WriteText(dir.File("junk.dat"), "\x01\x02garbage");
    EXPECT_EQ(ReadVoiceFile(dir.File("junk.dat"), voice), VoiceFileStatus::Loaded);
    EXPECT_TRUE(voice.samples.empty());
}

} // namespace
