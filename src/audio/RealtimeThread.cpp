#include "audio/RealtimeThread.h"

#include <QDBusConnection>
#include <QDBusMessage>

#include <sched.h>
#include <sys/resource.h>

namespace {

// Below the sound server's own real-time threads (PulseAudio's default is 5).
constexpr int kPriority = 4;
// RealtimeKit only serves processes whose real-time threads have a CPU time limit; a
// thread that would run this long without sleeping gets SIGXCPU. The feeding thread
// sleeps between requests every few milliseconds.
constexpr rlim_t kRealtimeCpuUs = 200000;
constexpr int kBusTimeoutMs = 1000;

bool AskRealtimeKit(pid_t tid) {
    QDBusConnection bus = QDBusConnection::systemBus();
    if (!bus.isConnected())
        return false;
    rlimit limit{};
    if (getrlimit(RLIMIT_RTTIME, &limit) != 0)
        return false;
    if (limit.rlim_max == RLIM_INFINITY || limit.rlim_max > kRealtimeCpuUs) {
        limit.rlim_cur = limit.rlim_max = kRealtimeCpuUs;
        if (setrlimit(RLIMIT_RTTIME, &limit) != 0)
            return false;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(
        "org.freedesktop.RealtimeKit1", "/org/freedesktop/RealtimeKit1",
        "org.freedesktop.RealtimeKit1", "MakeThreadRealtime");
    call << static_cast<qulonglong>(tid) << static_cast<uint>(kPriority);
    return bus.call(call, QDBus::Block, kBusTimeoutMs).type() == QDBusMessage::ReplyMessage;
}

} // namespace

bool MakeThreadRealtime(pid_t tid) {
    if (tid <= 0)
        return false;
    sched_param param{};
    param.sched_priority = kPriority;
    if (sched_setscheduler(tid, SCHED_RR | SCHED_RESET_ON_FORK, &param) == 0)
        return true;
    return AskRealtimeKit(tid);
}
