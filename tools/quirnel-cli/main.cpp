// quirnel-cli: the engine, the documents and the audio output on the command line.
#include "Cli.h"

#include "base/MessageBox.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>

namespace {

std::vector<CliCommand>& Registry() {
    static std::vector<CliCommand> commands;
    return commands;
}

void PrintHelp(std::FILE* out) {
    std::fprintf(out, "Usage: quirnel-cli COMMAND [OPTIONS]\n\nCommands:\n");
    for (const auto& command : CliCommands())
        std::fprintf(out, "%s\n", command.usage.c_str());
}

} // namespace

CliRegistrar::CliRegistrar(const char* name, const char* usage, CliHandler handler) {
    Registry().push_back(CliCommand{name, usage, handler});
}

const std::vector<CliCommand>& CliCommands() { return Registry(); }

void CliError(const std::string& message) {
    std::fprintf(stderr, "quirnel-cli: %s\n", message.c_str());
}

bool CliOptions::Parse(const std::vector<std::string>& args,
                       const std::vector<std::string>& known) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg.rfind("--", 0) != 0 || arg == "--") {
            m_positional.push_back(arg);
            continue;
        }
        const std::string name = arg.substr(2);
        bool isKnown = false;
        for (const auto& k : known)
            isKnown = isKnown || k == name;
        if (!isKnown) {
            CliError("unknown option " + arg);
            return false;
        }
        if (i + 1 >= args.size()) {
            CliError("option " + arg + " needs a value");
            return false;
        }
        m_values.emplace_back(name, args[++i]);
    }
    return true;
}

bool CliOptions::Has(const std::string& name) const {
    for (const auto& [key, value] : m_values)
        if (key == name)
            return true;
    return false;
}

std::string CliOptions::Get(const std::string& name) const {
    for (const auto& [key, value] : m_values)
        if (key == name)
            return value;
    return "";
}

bool CliOptions::GetInt(const std::string& name, int& value) const {
    const std::string text = Get(name);
    errno = 0;
    char* end = nullptr;
    const long number = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || errno == ERANGE || number < INT_MIN || number > INT_MAX) {
        CliError("--" + name + " needs a whole number, not \"" + text + "\"");
        return false;
    }
    value = static_cast<int>(number);
    return true;
}

int main(int argc, char** argv) {
    StderrMessageSink messages;
    SetMessageSink(&messages);
    if (argc < 2) {
        PrintHelp(stderr);
        return kCliBadArguments;
    }
    const std::string name = argv[1];
    if (name == "--help" || name == "-h" || name == "help") {
        PrintHelp(stdout);
        return kCliOk;
    }
    for (const auto& command : CliCommands()) {
        if (command.name == name)
            return command.handler(std::vector<std::string>(argv + 2, argv + argc));
    }
    CliError("unknown command \"" + name + "\" (see quirnel-cli --help)");
    return kCliBadArguments;
}
