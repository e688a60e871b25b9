// The program quirnel: the vowel chart window.
#include "app/FirstPaintProbe.h"
#include "app/MainFrame.h"
#include "app/TundrelApp.h"
#include "qtseams/QtFileDialogs.h"
#include "qtseams/QtFolderChooser.h"
#include "qtseams/QtInputPrompt.h"
#include "qtseams/QtMessageSink.h"
#include "qtseams/QtSettingsProfile.h"

#include <QApplication>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    // The name of the settings folder, ~/.config/quirnel.
    QApplication::setApplicationName("quirnel");

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

    // The arguments as the file system's bytes (QApplication has taken out its own options):
    // a file name that is not valid UTF-8 would not survive a QString.
    const std::vector<std::string> arguments(argv, argv + argc);
    CTundrelApp app;
    if (!app.InitInstance(arguments))
        return 1;
    messages.SetParent(app.Frame());
    folders.SetParent(app.Frame());
    CMainFrame* frame = app.Frame();
    FirstPaintProbe::FromEnvironment(frame->View()->Widget(), frame,
                                     [frame](int id) { frame->ExecuteCommand(id); });
    return QApplication::exec();
}
