#include "app/CommandLine.h"

#include "QuirnelVersion.h"

#include <QCommandLineParser>

#include <algorithm>

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

// The options the QApplication takes out of the command line itself. They are known here
// too, so that the line is judged before the display opens: an unknown option then ends
// the program with the usage, not with a display that cannot be found.
struct QtOption {
    const char* name;
    const char* valueName; // nullptr: a switch
    const char* description;
};

constexpr QtOption kQtOptions[] = {
    {"platform", "name", "The display platform plugin (xcb, wayland, offscreen, ...)."},
    {"platformpluginpath", "path", "The folder of the platform plugins."},
    {"platformtheme", "name", "The platform theme."},
    {"plugin", "name", "An additional plugin to load."},
    {"display", "display", "The X11 display to use (xcb only)."},
    {"geometry", "geometry", "The main window's geometry (xcb only)."},
    {"qwindowgeometry", "geometry", "The main window's geometry."},
    {"qwindowicon", "file", "The main window's icon."},
    {"qwindowtitle", "title", "The main window's title."},
    {"style", "style", "The widget style (Fusion, ...)."},
    {"stylesheet", "file", "A style sheet for the widgets."},
    {"session", "id", "The session to restore."},
    {"reverse", nullptr, "Lays out the widgets right to left."},
    {"widgetcount", nullptr, "Prints at the end how many widgets were made."},
    {"nograb", nullptr, "Never grabs the mouse or keyboard."},
    {"dograb", nullptr, "Grabs the mouse and keyboard even in a debugger."},
};

std::string QtOptionsHelp() {
    std::string text = "\nOptions of Qt (one or two dashes):\n";
    for (const QtOption& option : kQtOptions) {
        std::string usage = std::string("  -") + option.name;
        if (option.valueName)
            usage += std::string(" <") + option.valueName + ">";
        usage.resize(std::max<size_t>(usage.size() + 2, 32), ' ');
        text += usage + option.description + "\n";
    }
    return text;
}

} // namespace

QuirnelCommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
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
    // Qt's options are written with one dash, "-platform offscreen".
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    for (const QtOption& option : kQtOptions) {
        QCommandLineOption qtOption(QString::fromLatin1(option.name),
                                    QString::fromLatin1(option.description));
        if (option.valueName)
            qtOption.setValueName(QString::fromLatin1(option.valueName));
        qtOption.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(qtOption);
    }
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
        if (parser.isSet("help-all"))
            line.text += QtOptionsHelp();
        return line;
    }
    if (parser.isSet(version)) {
        line.action = QuirnelCommandLine::Action::ShowVersion;
        line.text = std::string("quirnel ") + kQuirnelVersion + "\n";
        return line;
    }
    const QStringList documents = parser.positionalArguments();
    if (!parsed || documents.size() > 1) {
        line.action = QuirnelCommandLine::Action::Refuse;
        line.text =
            parsed ? "quirnel opens one document at a time, not " + std::to_string(documents.size())
                   : ToBytes(parser.errorText());
        line.text += "\nUsage: quirnel [options] [DOCUMENT] (see quirnel --help)\n";
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
