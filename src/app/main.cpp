// The program quirnel: the vowel chart window.
#include "QuirnelVersion.h"
#include "app/CommandLine.h"
#include "app/DesktopFolders.h"
#include "app/DisplayPlatform.h"
#include "app/FirstPaintProbe.h"
#include "app/MainFrame.h"
#include "app/QuitOnSignals.h"
#include "app/TundrelApp.h"
#include "base/ScratchFolder.h"
#include "qtseams/QtFileDialogs.h"
#include "qtseams/QtFolderChooser.h"
#include "qtseams/QtInputPrompt.h"
#include "qtseams/QtMessageSink.h"
#include "qtseams/QtSettingsProfile.h"

#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    // The line is judged before the display opens: --help and --version answer, and a line
    // that is refused ends with the usage, without a display.
    const QuirnelCommandLine early = ParseCommandLine({argv, argv + argc});
    if (early.action == QuirnelCommandLine::Action::ShowHelp ||
        early.action == QuirnelCommandLine::Action::ShowVersion) {
        std::fputs(early.text.c_str(), stdout);
        return 0;
    }
    if (early.action == QuirnelCommandLine::Action::Refuse) {
        std::fputs(("quirnel: " + early.text).c_str(), stderr);
        return 2;
    }
    const std::string platform =
        ChooseDisplayPlatform([](const char* name) { return std::getenv(name); });
    if (!platform.empty())
        qputenv("QT_QPA_PLATFORM", platform.c_str());

    QApplication application(argc, argv);
    // The name of the settings folder, ~/.config/quirnel.
    QApplication::setApplicationName("quirnel");
    QApplication::setApplicationVersion(kQuirnelVersion);
    QGuiApplication::setDesktopFileName(kQuirnelAppId);
    // The arguments as the file system's bytes (QApplication has taken out its own options):
    // a file name that is not valid UTF-8 would not survive a QString.
    const QuirnelCommandLine line = ParseCommandLine({argv, argv + argc});

    // Before anything makes a scratch folder: a signal ends the program as its window does.
    QuitOnSignals quitOnSignals;
    // Scratch folders of earlier runs that were killed outright.
    ScratchFolder::RemoveLeftovers("quirnel-settings");
    ScratchFolder::RemoveLeftovers("quirnel-voice");

    QtMessageSink messages;
    StderrMessageSink printedMessages; // for runs without anybody at the screen
    const bool print = qEnvironmentVariable("QUIRNEL_MESSAGES_TO_STDERR") == "1";
    SetMessageSink(print ? static_cast<IMessageSink*>(&printedMessages) : &messages);
    // After the message sink, so that a settings file that cannot be read is reported.
    QtSettingsProfile profile(QtSettingsProfile::DefaultPath());
    SetProfile(&profile);
    QtFolderChooser folders;
    SetFolderChooser(&folders);
    QtFileDialogs fileDialogs;
    SetFileDialogs(&fileDialogs);
    QtInputPrompt prompt;
    SetInputPrompt(&prompt);

    std::vector<std::string> arguments{argv[0]};
    if (!line.document.empty())
        arguments.push_back(line.document);
    CTundrelApp app;
    if (line.fromDesktop)
        app.StartFromDesktop(FindDesktopFolders());
    if (!app.InitInstance(arguments)) {
        // Giving up the search for voices ends with 0, also when a signal closed the question.
        const int status = app.StartFailureStatus();
        return status != 0 && QuitOnSignals::Received() ? 128 + QuitOnSignals::Received() : status;
    }
    if (QuitOnSignals::Received())
        return 128 + QuitOnSignals::Received();
    messages.SetParent(app.Frame());
    folders.SetParent(app.Frame());
    CMainFrame* frame = app.Frame();
    FirstPaintProbe::FromEnvironment(frame->View()->Widget(), frame,
                                     [frame](int id) { frame->ExecuteCommand(id); });
    const int status = QApplication::exec();
    return QuitOnSignals::Received() ? 128 + QuitOnSignals::Received() : status;
}
