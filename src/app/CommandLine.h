// The command line of the program quirnel: what it asks for, read with QCommandLineParser.
#pragma once

#include <string>
#include <vector>

struct QuirnelCommandLine {
    enum class Action { Run, ShowHelp, ShowVersion, Refuse };
    Action action = Action::Run;
    // The help or version text (standard output) or why the line is refused (standard error).
    std::string text;
    // Started from the desktop menu: temp.wav and the log go to the cache folder and the
    // file dialogs start in the documents folder (see DesktopFolders).
    bool fromDesktop = false;
    // The document or wave list to open, as the file system's bytes; empty: a new document.
    std::string document;
};

// Reads the arguments (argv, the program's name first), before or after Qt has taken out
// its own options (-platform and the like, which are known here and otherwise ignored).
// Unknown options and more than one document refuse the line.
QuirnelCommandLine ParseCommandLine(const std::vector<std::string>& arguments);

// Whether the file named on the command line is a wave list (".wlist", any case) rather
// than a vowel document.
bool IsWaveListFile(const std::string& path);
// Whether the file named on the command line is a listening test (.qexp, in any case).
bool IsListeningTestFile(const std::string& path);
