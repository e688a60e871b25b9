// The program's connection to the sound server (PulseAudio), with every wait bounded.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <sys/types.h>

struct pa_context;
struct pa_threaded_mainloop;

// The sound server's clock (libpulse's real-time clock), in microseconds: the time the
// player and the record stream measure the server's answers and sound against.
int64_t ServerClockUs();

// A connection to the PulseAudio sound server, served by a thread of its own (libpulse's
// threaded main loop). Nothing here waits for the server without a deadline: a server
// that accepts the connection and then never answers, or that was stopped, counts as not
// answering once the deadline has passed, and the connection is dropped so that the next
// attempt starts afresh. The server's own answers arrive within milliseconds; the
// deadlines only catch a server that does not answer at all.
//
// Construction starts connecting at once without waiting, so that the connection is ready
// by the time it is first needed. Destruction disconnects and then stops and joins the
// thread; whoever made streams on the context must have released them before.
class CSoundServerLink {
public:
    enum class State { Connected, NoServer, NotAnswering };
    using Deadline = std::chrono::steady_clock::time_point;

    // How long one step (connecting, creating a stream, one request) may wait for the
    // server before it counts as not answering.
    static constexpr int kAnswerTimeoutMs = 2000;
    static Deadline DeadlineIn(int ms);

    CSoundServerLink();
    ~CSoundServerLink();
    CSoundServerLink(const CSoundServerLink&) = delete;
    CSoundServerLink& operator=(const CSoundServerLink&) = delete;

    // Connected already, or connects (again, when the connection was lost or dropped)
    // before the deadline. NoServer when no server takes the connection.
    State Connect(Deadline deadline);
    // Connects if needed and makes one round trip to the server before the deadline.
    State Ping(Deadline deadline);

    // Holds the main loop's lock: the context and its streams may be used, and none of
    // their callbacks (which run on the loop's thread with the lock held) is running.
    class Lock {
    public:
        explicit Lock(CSoundServerLink& link);
        ~Lock();
        Lock(const Lock&) = delete;
        Lock& operator=(const Lock&) = delete;

    private:
        CSoundServerLink& m_link;
    };

    // With the lock held: the connected context, or null.
    pa_context* Context() const;
    // With the lock held: waits until done() holds or the deadline has passed, letting
    // the loop's thread run meanwhile. Returns done().
    bool WaitUntil(const std::function<bool()>& done, Deadline deadline);
    // Wakes WaitUntil; for callbacks on the loop's thread.
    void Wake();
    // With the lock held: drops the connection (the server did not answer in time).
    void Drop();
    // The thread that serves the connection and runs the callbacks; 0 without one.
    pid_t ThreadId() const { return m_nThreadId; }

private:
    bool StartContext();
    static void OnContextState(pa_context* context, void* self);

    pa_threaded_mainloop* m_pLoop = nullptr;
    pa_context* m_pContext = nullptr;
    pid_t m_nThreadId = 0;
};
