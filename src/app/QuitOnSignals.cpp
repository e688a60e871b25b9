#include "app/QuitOnSignals.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};
int g_pipe[2] = {-1, -1};
volatile sig_atomic_t g_received = 0;

// Only what is safe in a signal handler: the event loop does the rest.
void OnSignal(int signal) {
    g_received = signal;
    for (int each : kSignals)
        std::signal(each, SIG_DFL);
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(g_pipe[1], &byte, 1);
}

} // namespace

QuitOnSignals::QuitOnSignals(QObject* parent) : QObject(parent) {
    if (::pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    m_notifier = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, [] {
        char byte = 0;
        while (::read(g_pipe[0], &byte, 1) > 0) {
        }
        // Every event loop ends, a dialog's as well as the program's.
        QCoreApplication::exit(128 + g_received);
    });
    struct sigaction action {};
    action.sa_handler = &OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int each : kSignals)
        sigaction(each, &action, nullptr);
}

QuitOnSignals::~QuitOnSignals() {
    for (int each : kSignals)
        std::signal(each, SIG_DFL);
}

int QuitOnSignals::Received() {
    return g_received;
}
