// Ends the program's event loop on SIGTERM, SIGINT and SIGHUP, so that the program ends as
// after its last window closed: every destructor runs and no scratch file stays behind.
#pragma once

#include <QObject>

class QSocketNotifier;

class QuitOnSignals : public QObject {
    Q_OBJECT

public:
    // Catches the three signals from now on (an application object must exist). A second
    // signal while the program ends ends it at once.
    explicit QuitOnSignals(QObject* parent = nullptr);
    ~QuitOnSignals() override;

    // The signal that asked the program to end; 0 while none has.
    static int Received();

private:
    QSocketNotifier* m_notifier = nullptr;
};
