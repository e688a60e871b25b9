// Watches for the view's first paint, for start-up timing and screenshots.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <vector>

class QWidget;

// After the watched widget has painted for the first time, prints
// "first-paint <CLOCK_MONOTONIC nanoseconds>" to stdout and/or saves a picture of the
// window, then closes the window. Installed by the program only when asked to through
// QUIRNEL_REPORT_FIRST_PAINT=1 or QUIRNEL_SCREENSHOT=<file.png>; the commands listed in
// QUIRNEL_SCREENSHOT_COMMANDS (ids separated by commas) run before the picture is taken.
class FirstPaintProbe : public QObject {
    Q_OBJECT

public:
    using CommandRunner = std::function<void(int id)>;

    FirstPaintProbe(QWidget* watched, QWidget* window, bool report, QString screenshotPath);

    // Installs a probe when the environment asks for one; nullptr otherwise.
    static FirstPaintProbe* FromEnvironment(QWidget* watched, QWidget* window,
                                            CommandRunner runCommand);

    // The monotonic clock in nanoseconds, the same for every process of the machine.
    static long long MonotonicNanoseconds();

protected:
    bool eventFilter(QObject* object, QEvent* event) override;

private:
    void Finish();

    QPointer<QWidget> m_window;
    bool m_bReport;
    QString m_strScreenshot;
    std::vector<int> m_commands;
    CommandRunner m_runCommand;
    bool m_bSeen = false;
};
