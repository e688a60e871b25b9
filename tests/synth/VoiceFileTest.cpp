// Reading voice data files: the free number forms and every kind of broken file.
#include "synth/VoiceFile.h"

#include "SynthTestSupport.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <memory>
#include <sys/stat.h>

namespace {

using Samples = std::vector<int32_t>;
using synthtest::FailureText;

// Parses text from a heap buffer of exactly its size (no terminator), so that a read past
// the end is caught by AddressSanitizer.
VoiceSamples Parse(const std::string& text, bool* complete = nullptr) {
    std::unique_ptr<char[]> buffer(new char[text.size() + (text.empty() ? 1 : 0)]);
    std::copy(text.begin(), text.end(), buffer.get());
    VoiceSamples voice;
    voice.samples = {99}; // whatever was there before is replaced
    const bool ok = ParseVoiceData(buffer.get(), text.size(), voice);
    if (complete)
        *complete = ok;
    EXPECT_EQ(voice.count, static_cast<int32_t>(voice.samples.size()));
    return voice;
}

TEST(ParseVoiceData, CountScaleAndSamples) {
    bool complete = false;
    const VoiceSamples voice = Parse("3\r\n0.00001\r\n10\n-20\n30\n7\n", &complete);
    EXPECT_TRUE(complete);
    EXPECT_FLOAT_EQ(voice.scale, 0.00001f);
    EXPECT_EQ(voice.samples, (Samples{10, -20, 30})); // numbers after N are ignored
}

TEST(ParseVoiceData, FreeFormIntegersAndRealScale) {
    EXPECT_EQ(Parse("0x5 1.0 0x10 -0x1f 010 -017 +9").samples, (Samples{16, -31, 8, -15, 9}));
    // "08" is the octal 0 followed by the number 8, as the C library reads it.
    EXPECT_EQ(Parse("3 1 08 0xA").samples, (Samples{0, 8, 10}));
    EXPECT_EQ(Parse("2 1 99999999999999999999 -99999999999999999999").samples,
              (Samples{INT32_MAX, INT32_MIN}));
    EXPECT_FLOAT_EQ(Parse("1 .5 7").scale, 0.5f);
    EXPECT_FLOAT_EQ(Parse("1 -2.5e-1 7").scale, -0.25f);
    EXPECT_FLOAT_EQ(Parse("1 0x1p-2 7").scale, 0.25f);
    EXPECT_EQ(Parse("1 1e999 7").samples, Samples{7});
}

TEST(ParseVoiceData, FilesWithoutUsableCountGiveAnEmptyStore) {
    for (const char* text : {"", "  \n", "abc", "3", "3 x 1 2 3", "1 --1 7", "-5 1.0 1 2 3"}) {
        bool complete = true;
        EXPECT_TRUE(Parse(text, &complete).samples.empty()) << text;
        EXPECT_FALSE(complete) << text;
    }
    bool complete = false;
    EXPECT_TRUE(Parse("0 1.0 4", &complete).samples.empty());
    EXPECT_TRUE(complete); // an honest empty file
}

TEST(ParseVoiceData, FileEndingEarlyKeepsTheSamplesRead) {
    bool complete = true;
    EXPECT_EQ(Parse("5 1.0 1 2", &complete).samples, (Samples{1, 2}));
    EXPECT_FALSE(complete);
    EXPECT_EQ(Parse("4 1.0 1 2 x 4").samples, (Samples{1, 2}));
    EXPECT_EQ(Parse("4 1.0 1 2.5 4").samples, (Samples{1, 2})); // ".5" is no integer
    EXPECT_EQ(Parse("3 1.0 12").samples, Samples{12});          // ends at the buffer's end
}

TEST(ParseVoiceData, HugeCountInATinyFileAllocatesLittle) {
    const VoiceSamples voice = Parse("2147483647 1.0 1 2 3");
    EXPECT_EQ(voice.samples, (Samples{1, 2, 3}));
    EXPECT_LE(voice.samples.capacity(), 16u);
    EXPECT_LE(Parse("0x7fffffff 1.0").samples.capacity(), 16u);
}

TEST(ReadVoiceFile, ReadsAFileAndRefusesWhatCannotBeOpened) {
    TempDir dir;
    synthtest::WriteVoiceFile(dir.File("v.dat"), {4, -5, 6});
    VoiceSamples voice;
    const Report read = ReadVoiceFile(dir.File("v.dat"), voice);
    EXPECT_TRUE(read.Ok());
    EXPECT_TRUE(read.Messages().empty());
    EXPECT_EQ(voice.samples, (Samples{4, -5, 6}));

    const std::string cantOpen = "Can't open voicing samples file:\n";
    EXPECT_EQ(FailureText(ReadVoiceFile(dir.File("missing.dat"), voice)),
              cantOpen + dir.File("missing.dat") + "\nNo such file or directory");
    EXPECT_EQ(FailureText(ReadVoiceFile(dir.Path(), voice)),
              cantOpen + dir.Path() + "\nit is a folder");
    ASSERT_EQ(::mkfifo(dir.File("pipe.dat").c_str(), 0600), 0);
    EXPECT_EQ(FailureText(ReadVoiceFile(dir.File("pipe.dat"), voice)),
              cantOpen + dir.File("pipe.dat") + "\nit is not a regular file (a device or a pipe)");
    EXPECT_EQ(voice.samples, (Samples{4, -5, 6}));
}

} // namespace
