// The program quirnel: the vowel chart window.
#include "app/MainFrame.h"
#include "app/QtMessageSink.h"
#include "app/QtSettingsProfile.h"
#include "app/TundrelApp.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName("Quirnel");

    QtSettingsProfile profile(QtSettingsProfile::DefaultPath());
    SetProfile(&profile);
    QtMessageSink messages;
    SetMessageSink(&messages);
    QtFolderChooser folders;
    SetFolderChooser(&folders);

    CTundrelApp app;
    if (!app.InitInstance(QApplication::arguments()))
        return 1;
    messages.SetParent(app.Frame());
    folders.SetParent(app.Frame());
    return QApplication::exec();
}
