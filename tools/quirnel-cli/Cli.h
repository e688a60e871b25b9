// Subcommands of quirnel-cli: each file registers its own with a CliRegistrar.
#pragma once

#include <string>
#include <vector>

// Exit statuses shared by all subcommands.
enum CliStatus { kCliOk = 0, kCliFailed = 1, kCliBadArguments = 2 };

using CliHandler = int (*)(const std::vector<std::string>& args);

struct CliCommand {
    std::string name;
    std::string usage; // one or more lines for --help
    CliHandler handler;
};

// Registers a subcommand at static initialisation time.
struct CliRegistrar {
    CliRegistrar(const char* name, const char* usage, CliHandler handler);
};

const std::vector<CliCommand>& CliCommands();
// The subcommand being run (for its --help), or nullptr before one has been chosen.
const CliCommand* RunningCliCommand();
// The line --version prints: "quirnel-cli VERSION".
std::string CliVersionLine();

// Reads a subcommand's arguments with QCommandLineParser: "--name value" and
// "--name=value" for the options that take a value, "--name" alone for the flags, and
// "--" before positional arguments that begin with "-". --help and --version print the
// command's usage or the program's version and end the command at once: Parse throws
// CliAnswered, which main turns into status 0.
struct CliAnswered {};

class CliOptions {
public:
    // Parses args; false (with a message on stderr) on an unknown option or a missing
    // value. Adding a flag to a command is adding its name to `flags`.
    bool Parse(const std::vector<std::string>& args, const std::vector<std::string>& valued,
               const std::vector<std::string>& flags = {});
    // Whether the option or flag was given.
    bool Has(const std::string& name) const;
    // The option's value (the last one when it was given more than once), or "".
    std::string Get(const std::string& name) const;
    // Reads an integer option into value; false with a message when it is not a number.
    bool GetInt(const std::string& name, int& value) const;
    // The same for an option that may be left out: value keeps its default then.
    bool GetOptionalInt(const std::string& name, int& value) const {
        return !Has(name) || GetInt(name, value);
    }
    const std::vector<std::string>& Positional() const { return m_positional; }
    // For a command that takes options only: false with a message when anything else was
    // given, or when one of the required options is missing or empty ("COMMAND needs --NAME").
    bool CheckOptionsOnly(const std::string& command,
                          const std::vector<std::string>& required) const;

private:
    std::vector<std::pair<std::string, std::string>> m_values;
    std::vector<std::string> m_positional;
};

enum class SampleFormat;
// Reads --format (pcm16, pcm24 or float) into format when it was given; false with a
// message when it names none of them.
bool GetSampleFormat(const CliOptions& options, SampleFormat& format);

struct SoundLevel;
// Reads --level (natural, peak or rms=DB) into level when it was given; false with a
// message when it names none of them.
bool GetSoundLevel(const CliOptions& options, SoundLevel& level);
// The line --verbose prints for a written sound: "NAME: gain_db G, rms_dbfs R".
struct AppliedLevel;
std::string LevelLine(const std::string& name, const AppliedLevel& level);

struct SoundFileFormat;
// Why the file cannot be read as a sound, from its header alone ("" when it can, with its
// header in format): missing, a folder or device, too long to `use` (play, measure), or not
// a sound file.
std::string WhyNotSound(const std::string& path, const std::string& use, SoundFileFormat& format);

// Prints "quirnel-cli: message" to stderr.
void CliError(const std::string& message);
