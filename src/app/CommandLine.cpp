#include "app/CommandLine.h"

#include "QuirnelVersion.h"

#include <QCommandLineParser>

namespace {

// Latin-1 carries every byte through QString unchanged, so a file name that is not valid
// UTF-8 comes back as the same bytes.
QString FromBytes(const std::string& bytes) {
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

std::string ToBytes(const QString& text) {
    return text.toLatin1().toStdString();
}

std::string HelpText(const QCommandLineParser& parser) {
    std::string text = parser.helpText().toStdString();
    const std::string placeholder = "<executable_name>";
    if (const size_t at = text.find(placeholder); at != std::string::npos)
        text.replace(at, placeholder.size(), "quirnel");
    return text;
}

} // namespace

QuirnelCommandLine ParseCommandLine(const std::vector<std::string>& arguments, bool strict) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Quirnel: hear vowels by pointing at them in a vowel chart.\n"
        "Without DOCUMENT the chart starts with a new document of preset positions.");
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption fromDesktop(
        "from-desktop", "Started from the desktop menu: write temp.wav and the log into the "
                        "cache folder and start the file dialogs in the documents folder, "
                        "unless the settings name other folders.");
    parser.addOption(fromDesktop);
    parser.addPositionalArgument(
        "DOCUMENT",
        "A vowel document (.vow), a wave list (.wlist) or a listening test (.qexp) to "
        "open; put \"--\" "
        "before a name that begins with \"-\".",
        "[DOCUMENT]");
    QStringList words;
    for (const std::string& argument : arguments)
        words << FromBytes(argument);
    if (words.isEmpty())
        words << "quirnel";
    const bool parsed = parser.parse(words);

    QuirnelCommandLine line;
    if (parser.isSet(help) || parser.isSet("help-all")) {
        line.action = QuirnelCommandLine::Action::ShowHelp;
        line.text = HelpText(parser);
        return line;
    }
    if (parser.isSet(version)) {
        line.action = QuirnelCommandLine::Action::ShowVersion;
        line.text = std::string("quirnel ") + kQuirnelVersion + "\n";
        return line;
    }
    const QStringList documents = parser.positionalArguments();
    if (strict && (!parsed || documents.size() > 1)) {
        line.action = QuirnelCommandLine::Action::Refuse;
        line.text =
            parsed ? "quirnel opens one document at a time, not " + std::to_string(documents.size())
                   : ToBytes(parser.errorText());
        line.text += " (see quirnel --help)\n";
        return line;
    }
    line.fromDesktop = parser.isSet(fromDesktop);
    if (!documents.isEmpty())
        line.document = ToBytes(documents.front());
    return line;
}

bool IsWaveListFile(const std::string& path) {
    return FromBytes(path).endsWith(".wlist", Qt::CaseInsensitive);
}

bool IsListeningTestFile(const std::string& path) {
    return FromBytes(path).endsWith(".qexp", Qt::CaseInsensitive);
}
