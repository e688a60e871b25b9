#include "app/FirstPaintProbe.h"

#include <QEvent>
#include <QPixmap>
#include <QStringList>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <ctime>

FirstPaintProbe::FirstPaintProbe(QWidget* watched, QWidget* window, bool report,
                                 QString screenshotPath)
    : QObject(window), m_window(window), m_bReport(report),
      m_strScreenshot(std::move(screenshotPath)) {
    watched->installEventFilter(this);
}

FirstPaintProbe* FirstPaintProbe::FromEnvironment(QWidget* watched, QWidget* window,
                                                  CommandRunner runCommand) {
    const bool report = qEnvironmentVariable("QUIRNEL_REPORT_FIRST_PAINT") == "1";
    const QString screenshot = qEnvironmentVariable("QUIRNEL_SCREENSHOT");
    if (!report && screenshot.isEmpty())
        return nullptr;
    auto* probe = new FirstPaintProbe(watched, window, report, screenshot);
    probe->m_runCommand = std::move(runCommand);
    const QStringList ids =
        qEnvironmentVariable("QUIRNEL_SCREENSHOT_COMMANDS").split(',', Qt::SkipEmptyParts);
    for (const QString& id : ids)
        if (const int command = id.trimmed().toInt(); command > 0)
            probe->m_commands.push_back(command);
    return probe;
}

long long FirstPaintProbe::MonotonicNanoseconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

bool FirstPaintProbe::eventFilter(QObject* object, QEvent* event) {
    if (event->type() == QEvent::Paint && !m_bSeen) {
        m_bSeen = true;
        // Runs once the paint has been handled.
        QTimer::singleShot(m_strScreenshot.isEmpty() ? 0 : 500, this, &FirstPaintProbe::Finish);
    }
    return QObject::eventFilter(object, event);
}

void FirstPaintProbe::Finish() {
    if (m_bReport) {
        std::printf("first-paint %lld\n", MonotonicNanoseconds());
        std::fflush(stdout);
    }
    if (!m_window)
        return;
    for (int id : m_commands)
        if (m_runCommand)
            m_runCommand(id);
    if (!m_strScreenshot.isEmpty() && !m_window->grab().save(m_strScreenshot))
        std::fprintf(stderr, "Can't write the screenshot %s\n", qPrintable(m_strScreenshot));
    m_window->close();
}
