// Runs the built quirnel-cli with arguments and keeps what it printed on stdout and stderr.
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
        const std::string command = "'" + Program() + "' " + args + " >'" + m_dir.File("out") +
                                    "' 2>'" + m_dir.File("err") + "'";
        const int status = std::system(command.c_str());
        m_stdout = Text(m_dir.File("out"));
        m_stderr = Text(m_dir.File("err"));
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    const std::string& Stdout() const { return m_stdout; }
    const std::string& Stderr() const { return m_stderr; }

private:
    static std::string Text(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    TempDir m_dir;
    std::string m_stdout;
    std::string m_stderr;
};
