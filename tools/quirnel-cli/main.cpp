// quirnel-cli: the engine, the documents and the audio output on the command line.
#include "Cli.h"

#include "QuirnelVersion.h"
#include "base/MessageBox.h"

#include <QCommandLineParser>

#include <cstdio>

namespace {

std::vector<CliCommand>& Registry() {
    static std::vector<CliCommand> commands;
    return commands;
}

const CliCommand* g_running = nullptr;

void PrintHelp(std::FILE* out) {
    std::fprintf(out, "Usage: quirnel-cli [--help] [--version] COMMAND [OPTIONS]\n\nCommands:\n");
    for (const auto& command : CliCommands())
        std::fprintf(out, "%s\n", command.usage.c_str());
    std::fprintf(out, "\nOptions take their value as \"--name value\" or \"--name=value\"; \"--\" "
                      "ends the options,\nso that a file name beginning with \"-\" can follow. "
                      "COMMAND --help shows one command.\n");
}

} // namespace

CliRegistrar::CliRegistrar(const char* name, const char* usage, CliHandler handler) {
    Registry().push_back(CliCommand{name, usage, handler});
}

const std::vector<CliCommand>& CliCommands() {
    return Registry();
}

const CliCommand* RunningCliCommand() {
    return g_running;
}

std::string CliVersionLine() {
    return std::string("quirnel-cli ") + kQuirnelVersion;
}

void CliError(const std::string& message) {
    std::fprintf(stderr, "quirnel-cli: %s\n", message.c_str());
}

int main(int argc, char** argv) {
    StderrMessageSink messages;
    SetMessageSink(&messages);
    // The program's own options come before the command; everything after the command's
    // name is the command's, to be read by its CliOptions.
    QCommandLineParser parser;
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    const QCommandLineOption help({"h", "help"}, "");
    const QCommandLineOption version("version", "");
    parser.addOption(help);
    parser.addOption(version);
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLatin1(argv[i]); // every byte survives, see CliOptions
    if (!parser.parse(arguments)) {
        CliError(parser.errorText().toStdString() + " (see quirnel-cli --help)");
        return kCliBadArguments;
    }
    if (parser.isSet(version)) {
        std::printf("%s\n", CliVersionLine().c_str());
        return kCliOk;
    }
    const QStringList words = parser.positionalArguments();
    if (parser.isSet(help) || (!words.isEmpty() && words.front() == "help")) {
        PrintHelp(stdout);
        return kCliOk;
    }
    if (words.isEmpty()) {
        PrintHelp(stderr);
        return kCliBadArguments;
    }
    const std::string name = words.front().toLatin1().toStdString();
    std::vector<std::string> rest;
    for (qsizetype i = 1; i < words.size(); ++i)
        rest.push_back(words[i].toLatin1().toStdString());
    for (const auto& command : CliCommands()) {
        if (command.name == name) {
            g_running = &command;
            try {
                return command.handler(rest);
            } catch (const CliAnswered&) { // --help or --version: the answer is printed
                return kCliOk;
            }
        }
    }
    CliError("unknown command \"" + name + "\" (see quirnel-cli --help)");
    return kCliBadArguments;
}
