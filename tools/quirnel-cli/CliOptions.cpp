// The options of one subcommand, read with QCommandLineParser.
#include "Cli.h"

#include "audio/SoundFile.h"
#include "stimuli/SoundExport.h"
#include "stimuli/SoundFormat.h"

#include <QCommandLineParser>

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

// Arguments travel as Latin-1 so that every byte of a file name survives the round trip
// through QString, also names that are not valid UTF-8.
QString FromBytes(const std::string& bytes) {
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

std::string ToBytes(const QString& text) {
    return text.toLatin1().toStdString();
}

} // namespace

bool CliOptions::Parse(const std::vector<std::string>& args, const std::vector<std::string>& valued,
                       const std::vector<std::string>& flags) {
    QCommandLineParser parser;
    const QCommandLineOption help({"h", "help"}, "");
    const QCommandLineOption version("version", "");
    parser.addOption(help);
    parser.addOption(version);
    for (const std::string& name : valued)
        parser.addOption(QCommandLineOption(FromBytes(name), "", "value"));
    for (const std::string& name : flags)
        parser.addOption(QCommandLineOption(FromBytes(name), ""));
    QStringList arguments{"quirnel-cli"};
    for (const std::string& arg : args)
        arguments << FromBytes(arg);
    const bool parsed = parser.parse(arguments);
    if (parser.isSet(help) || parser.isSet(version)) {
        if (parser.isSet(version))
            std::printf("%s\n", CliVersionLine().c_str());
        else if (const CliCommand* command = RunningCliCommand())
            std::printf("Usage: quirnel-cli %s [OPTIONS]\n\n%s\n", command->name.c_str(),
                        command->usage.c_str());
        std::fflush(stdout);
        throw CliAnswered{};
    }
    if (!parsed) {
        CliError(ToBytes(parser.errorText()));
        return false;
    }
    for (const std::string& name : valued)
        if (parser.isSet(FromBytes(name)))
            m_values.emplace_back(name, ToBytes(parser.value(FromBytes(name))));
    for (const std::string& name : flags)
        if (parser.isSet(FromBytes(name)))
            m_values.emplace_back(name, "");
    for (const QString& positional : parser.positionalArguments())
        m_positional.push_back(ToBytes(positional));
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

bool CliOptions::CheckOptionsOnly(const std::string& command,
                                  const std::vector<std::string>& required) const {
    if (!m_positional.empty()) {
        CliError("unexpected argument \"" + m_positional[0] + "\"");
        return false;
    }
    for (const std::string& name : required) {
        if (Get(name).empty()) {
            CliError(command + " needs --" + name);
            return false;
        }
    }
    return true;
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

bool GetSampleFormat(const CliOptions& options, SampleFormat& format) {
    if (!options.Has("format") || ParseSampleFormat(options.Get("format"), format))
        return true;
    CliError("--format must be pcm16, pcm24 or float");
    return false;
}

bool GetSoundLevel(const CliOptions& options, SoundLevel& level) {
    if (!options.Has("level"))
        return true;
    if (std::string problem = ParseSoundLevel(options.Get("level"), level); !problem.empty()) {
        CliError(problem);
        return false;
    }
    return true;
}

std::string LevelLine(const std::string& name, const AppliedLevel& level) {
    char text[96];
    auto hundredths = [](double value) {
        const double rounded = std::round(value * 100) / 100;
        return rounded == 0 ? 0.0 : rounded;
    };
    std::snprintf(text, sizeof text, ": gain_db %.2f, rms_dbfs %.2f", hundredths(level.gainDb),
                  hundredths(level.rmsDbfs));
    return name + text;
}

std::string WhyNotSound(const std::string& path, const std::string& use, SoundFileFormat& format) {
    int error = 0;
    switch (ReadSoundFileFormat(path, format, &error)) {
    case SoundFileStatus::Ok:
        return "";
    case SoundFileStatus::CannotOpen:
        return "can't open \"" + path + "\": " + std::strerror(error);
    case SoundFileStatus::NotAFile:
        return error == EISDIR ? "\"" + path + "\" is a folder, not a sound file"
                               : "\"" + path + "\" is not a regular file (a device or pipe)";
    case SoundFileStatus::TooLong:
        return "\"" + path + "\" is too long to " + use + " (more than " +
               std::to_string(kMaxSoundSamples) + " samples)";
    case SoundFileStatus::NotSound:
        break;
    }
    return "can't decode \"" + path + "\" as a sound file";
}
