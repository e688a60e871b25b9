#include "DocTestSupport.h"
#include "TempDir.h"
#include "doc/TundrelDoc.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/wait.h>

namespace fs = std::filesystem;

namespace {

const std::string kCli = QUIRNEL_BINARY_DIR "/tools/quirnel-cli/quirnel-cli";

// Runs quirnel-cli with the arguments (already quoted) and returns its exit status.
int RunCli(const std::string& args) {
    const int status = std::system((kCli + " " + args + " 2>/dev/null").c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string Quoted(const std::string& path) {
    return "'" + path + "'";
}

class CliDoc : public ::testing::Test {
protected:
    void SetUp() override {
        if (!fs::exists(kCli))
            GTEST_SKIP() << "quirnel-cli is not built";
    }
    TempDir m_dir;
};

} // namespace

TEST_F(CliDoc, NewWritesAPresetDocumentAndExportDispatchesOnTheExtension) {
    ASSERT_EQ(RunCli("new " + Quoted(m_dir.File("a.vow"))), 0);
    EXPECT_EQ(ReadFileBytes(m_dir.File("a.vow")), CTundrelDoc().StoreToBytes());
    EXPECT_EQ(RunCli("export " + Quoted(m_dir.File("a.vow")) + " " + Quoted(m_dir.File("b.txt"))),
              0);
    EXPECT_TRUE(fs::exists(m_dir.File("b.txt")));
    EXPECT_EQ(RunCli("export " + Quoted(m_dir.File("a.vow")) + " " + Quoted(m_dir.File("b.vow"))),
              0);
    EXPECT_EQ(ReadFileBytes(m_dir.File("b.vow")), CTundrelDoc().StoreToBytes());
}

TEST_F(CliDoc, DashDashEndsTheOptionsSoANameMayBeginWithADash) {
    const std::string inFolder = "cd " + Quoted(m_dir.Path()) + " && " + kCli + " ";
    EXPECT_NE(std::system((inFolder + "new -a.vow 2>/dev/null").c_str()), 0);
    ASSERT_EQ(std::system((inFolder + "new -- -a.vow").c_str()), 0);
    ASSERT_EQ(std::system((inFolder + "export -- -a.vow -b.txt").c_str()), 0);
    EXPECT_TRUE(fs::exists(m_dir.File("-b.txt")));
}

TEST_F(CliDoc, BadArgumentsAndFailuresHaveTheirExitStatus) {
    ASSERT_EQ(RunCli("new " + Quoted(m_dir.File("a.vow"))), 0);
    EXPECT_EQ(RunCli("export " + Quoted(m_dir.File("a.vow")) + " " + Quoted(m_dir.File("b.TXT"))),
              2);
    EXPECT_FALSE(fs::exists(m_dir.File("b.TXT")));
    EXPECT_EQ(
        RunCli("export " + Quoted(m_dir.File("none.vow")) + " " + Quoted(m_dir.File("b.vtb"))), 1);
    EXPECT_FALSE(fs::exists(m_dir.File("b.vtb")));
    EXPECT_EQ(RunCli("new " + Quoted(m_dir.File("a.txt"))), 2);
    EXPECT_EQ(RunCli("batch " + Quoted(m_dir.File("nowhere"))), 2);
    EXPECT_EQ(RunCli("batch"), 2);
}

TEST_F(CliDoc, BatchSucceedsFailsOnACutOffDocumentAndIgnoresAnEmptyFolder) {
    ASSERT_EQ(RunCli("new " + Quoted(m_dir.File("a.vow"))), 0);
    EXPECT_EQ(RunCli("batch " + Quoted(m_dir.Path())), 0);
    EXPECT_TRUE(fs::exists(m_dir.File("AllMaleNative.txt")));
    WriteFileBytes(m_dir.File("b.vow"), "\x03vow\x03"
                                        "1.1\x03"
                                        "26");
    EXPECT_EQ(RunCli("batch " + Quoted(m_dir.Path())), 1);
    fs::create_directory(m_dir.File("empty"));
    EXPECT_EQ(RunCli("batch " + Quoted(m_dir.File("empty"))), 0);
    EXPECT_FALSE(fs::exists(m_dir.File("empty/AllMaleNative.txt")));
}

// The command line speaks English: the window's German closing message stays in the window.
TEST_F(CliDoc, BatchSaysNothingInGermanOnStandardError) {
    ASSERT_EQ(RunCli("new " + Quoted(m_dir.File("a.vow"))), 0);
    const std::string err = m_dir.File("err");
    ASSERT_EQ(std::system((kCli + " batch " + Quoted(m_dir.Path()) + " 2>" + Quoted(err)).c_str()),
              0);
    EXPECT_EQ(ReadFileBytes(err), "");
    EXPECT_TRUE(fs::exists(m_dir.File("AllMaleNative.txt")));
}
