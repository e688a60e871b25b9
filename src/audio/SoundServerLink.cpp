#include "audio/SoundServerLink.h"

#include <pulse/context.h>
#include <pulse/introspect.h>
#include <pulse/mainloop-api.h>
#include <pulse/rtclock.h>
#include <pulse/thread-mainloop.h>

#include <algorithm>
#include <unistd.h>

namespace {

bool IsSettled(pa_context_state_t state) {
    return state == PA_CONTEXT_READY || !PA_CONTEXT_IS_GOOD(state);
}

} // namespace

int64_t ServerClockUs() {
    return static_cast<int64_t>(pa_rtclock_now());
}

CSoundServerLink::Deadline CSoundServerLink::DeadlineIn(int ms) {
    return std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
}

CSoundServerLink::CSoundServerLink() {
    m_pLoop = pa_threaded_mainloop_new();
    if (m_pLoop && pa_threaded_mainloop_start(m_pLoop) < 0) {
        pa_threaded_mainloop_free(m_pLoop);
        m_pLoop = nullptr;
    }
    if (!m_pLoop)
        return;
    Lock lock(*this);
    pa_mainloop_api_once(
        pa_threaded_mainloop_get_api(m_pLoop),
        [](pa_mainloop_api*, void* userdata) {
            auto* self = static_cast<CSoundServerLink*>(userdata);
            self->m_nThreadId = gettid();
            self->Wake();
        },
        this);
    while (m_nThreadId == 0) // the loop's own thread, not the server: it answers at once
        pa_threaded_mainloop_wait(m_pLoop);
    StartContext();
}

CSoundServerLink::~CSoundServerLink() {
    if (!m_pLoop)
        return;
    {
        Lock lock(*this);
        Drop();
    }
    pa_threaded_mainloop_stop(m_pLoop);
    pa_threaded_mainloop_free(m_pLoop);
}

CSoundServerLink::Lock::Lock(CSoundServerLink& link) : m_link(link) {
    if (m_link.m_pLoop)
        pa_threaded_mainloop_lock(m_link.m_pLoop);
}

CSoundServerLink::Lock::~Lock() {
    if (m_link.m_pLoop)
        pa_threaded_mainloop_unlock(m_link.m_pLoop);
}

// Lock held: begins to connect without waiting; false when that fails at once.
bool CSoundServerLink::StartContext() {
    pa_mainloop_api* api = pa_threaded_mainloop_get_api(m_pLoop);
    m_pContext = pa_context_new(api, "Quirnel");
    if (!m_pContext)
        return false;
    pa_context_set_state_callback(m_pContext, &CSoundServerLink::OnContextState, this);
    // No autospawn: starting a sound server is the desktop's business, and waiting for
    // one to start up has no bound.
    if (pa_context_connect(m_pContext, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0) {
        Drop();
        return false;
    }
    return true;
}

void CSoundServerLink::OnContextState(pa_context*, void* self) {
    static_cast<CSoundServerLink*>(self)->Wake();
}

void CSoundServerLink::Drop() {
    if (!m_pContext)
        return;
    pa_context_set_state_callback(m_pContext, nullptr, nullptr);
    pa_context_disconnect(m_pContext);
    pa_context_unref(m_pContext);
    m_pContext = nullptr;
}

pa_context* CSoundServerLink::Context() const {
    if (!m_pContext || pa_context_get_state(m_pContext) != PA_CONTEXT_READY)
        return nullptr;
    return m_pContext;
}

CSoundServerLink::State CSoundServerLink::Connect(Deadline deadline) {
    if (!m_pLoop)
        return State::NoServer;
    Lock lock(*this);
    // A connection that has failed (the server went away) is replaced once.
    if (m_pContext && !PA_CONTEXT_IS_GOOD(pa_context_get_state(m_pContext)))
        Drop();
    if (!m_pContext && !StartContext())
        return State::NoServer;
    WaitUntil([this] { return IsSettled(pa_context_get_state(m_pContext)); }, deadline);
    const pa_context_state_t state = pa_context_get_state(m_pContext);
    if (state == PA_CONTEXT_READY)
        return State::Connected;
    Drop();
    return PA_CONTEXT_IS_GOOD(state) ? State::NotAnswering : State::NoServer;
}

namespace {

// A request that is waited for: set when its answer has come.
struct PendingAnswer {
    CSoundServerLink* link;
    bool answered = false;
};

void OnServerInfo(pa_context*, const pa_server_info*, void* userdata) {
    auto* pending = static_cast<PendingAnswer*>(userdata);
    pending->answered = true;
    pending->link->Wake();
}

} // namespace

CSoundServerLink::State CSoundServerLink::Ping(Deadline deadline) {
    const State state = Connect(deadline);
    if (state != State::Connected)
        return state;
    Lock lock(*this);
    pa_context* context = Context();
    PendingAnswer pending{this};
    pa_operation* operation =
        context ? pa_context_get_server_info(context, &OnServerInfo, &pending) : nullptr;
    if (!operation) {
        Drop();
        return State::NoServer;
    }
    WaitUntil(
        [&] {
            return pending.answered || pa_operation_get_state(operation) != PA_OPERATION_RUNNING;
        },
        deadline);
    if (!pending.answered)
        pa_operation_cancel(operation); // its callback must not run after this returns
    pa_operation_unref(operation);
    if (pending.answered)
        return State::Connected;
    const bool stuck = Context() != nullptr;
    Drop();
    return stuck ? State::NotAnswering : State::NoServer;
}

void CSoundServerLink::Wake() {
    if (m_pLoop)
        pa_threaded_mainloop_signal(m_pLoop, 0);
}

bool CSoundServerLink::WaitUntil(const std::function<bool()>& done, Deadline deadline) {
    if (done())
        return true;
    if (!m_pLoop || !m_pContext)
        return false;
    // A timer on the loop wakes the wait at the deadline.
    const auto left = std::chrono::duration_cast<std::chrono::microseconds>(
        deadline - std::chrono::steady_clock::now());
    const pa_usec_t leftUs = static_cast<pa_usec_t>(std::max<int64_t>(left.count(), 0));
    pa_time_event* timer = pa_context_rttime_new(
        m_pContext, pa_rtclock_now() + leftUs,
        [](pa_mainloop_api*, pa_time_event*, const struct timeval*, void* self) {
            static_cast<CSoundServerLink*>(self)->Wake();
        },
        this);
    while (!done() && std::chrono::steady_clock::now() < deadline)
        pa_threaded_mainloop_wait(m_pLoop);
    if (timer)
        pa_threaded_mainloop_get_api(m_pLoop)->time_free(timer);
    return done();
}
