// Output names as long as the file system allows: every command writes them, and a longer
// one is refused before any work, with the reason.
#include "CliRunner.h"
#include "base/SafeFile.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

const std::string kVoice = QUIRNEL_DATA_DIR "/Dat/01-male.dat";

TEST(OutputName, NamesOfTheLongestLengthAreWrittenAndLongerOnesRefusedFirst) {
    if (!CliRunner::Built())
        GTEST_SKIP() << "quirnel-cli not built";
    TempDir dir;
    CliRunner cli;
    const std::string wav = dir.File(std::string(251, 'w') + ".wav");
    const std::string dat = dir.File(std::string(251, 'v') + ".dat");
    ASSERT_EQ(cli.Run("render --voice '" + kVoice + "' --f1 700 --f2 1200 --out '" + wav + "'"), 0)
        << cli.Stderr();
    const std::string flac = dir.File(std::string(250, 'f') + ".flac");
    ASSERT_EQ(cli.Run("render --voice '" + kVoice + "' --f1 700 --f2 1200 --rate 22050 --out '" +
                      flac + "'"),
              0)
        << cli.Stderr();
    ASSERT_EQ(cli.Run("voice --f0 140 --out '" + dat + "'"), 0) << cli.Stderr();
    EXPECT_TRUE(std::filesystem::is_regular_file(dat));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()),
                            std::filesystem::directory_iterator()),
              3); // nothing temporary is left

    const std::string longer = dir.File(std::string(252, 'x') + ".dat");
    EXPECT_EQ(cli.Run("voice --f0 140 --out '" + longer + "'"), 1);
    EXPECT_NE(cli.Stderr().find("its name is 256 bytes long"), std::string::npos) << cli.Stderr();
    EXPECT_EQ(cli.Run("render --voice '" + kVoice + "' --f1 700 --f2 1200 --out '" + longer + "'"),
              1);
    EXPECT_NE(cli.Stderr().find("its name is 256 bytes long"), std::string::npos) << cli.Stderr();
    EXPECT_NE(CheckOutputName(dir.File("missing/a.wav")).find("does not exist"), std::string::npos);
    EXPECT_EQ(CheckOutputName(wav), "");
}

} // namespace
