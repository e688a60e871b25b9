// Runs the built quirnel-cli with arguments and keeps what it printed on stderr.
#pragma once

#include "TempDir.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>

class CliRunner {
public:
    static std::string Program() { return QUIRNEL_BINARY_DIR "/tools/quirnel-cli/quirnel-cli"; }
    static bool Built() { return std::filesystem::exists(Program()); }

    // Runs "quirnel-cli ARGS" (ARGS quoted by the caller) and returns its exit status.
    int Run(const std::string& args) {
        const std::string command =
            "'" + Program() + "' " + args + " 2>'" + m_dir.File("err") + "'";
        const int status = std::system(command.c_str());
        std::ifstream in(m_dir.File("err"));
        std::stringstream text;
        text << in.rdbuf();
        m_stderr = text.str();
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    const std::string& Stderr() const { return m_stderr; }

private:
    TempDir m_dir;
    std::string m_stderr;
};
