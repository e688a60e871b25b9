#include "view/LongTask.h"

#include "view/BusyCursor.h"
#include "view/InputPrompt.h"

#include <QEventLoop>
#include <QMetaObject>

#include <atomic>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <optional>
#include <thread>

namespace {

// Runs work on a thread of its own and the calling thread's event loop until it is done. When
// the loop ends before (the program quits), abandon tells the work so, and the work is waited
// for.
void RunOnWorker(const std::function<void(QEventLoop&)>& work, QEventLoop::ProcessEventsFlags flags,
                 const std::function<void()>& abandon = {}) {
    QEventLoop loop;
    std::atomic<bool> done{false};
    std::exception_ptr failure;
    std::thread worker([&] {
        try {
            work(loop);
        } catch (...) {
            failure = std::current_exception();
        }
        done = true;
        // Queued: the loop ends once the window's thread gets to it, even when the work was
        // done before the loop began.
        QMetaObject::invokeMethod(
            &loop, [&loop] { loop.quit(); }, Qt::QueuedConnection);
    });
    loop.exec(flags);
    if (!done && abandon)
        abandon();
    worker.join();
    if (failure)
        std::rethrow_exception(failure);
}

} // namespace

void RunWithProgress(const std::string& title, int total,
                     const std::function<void(const TaskProgress&)>& work) {
    IInputPrompt& prompt = GetInputPrompt();
    prompt.ShowProgress(title, 0, total);
    std::mutex mutex;
    std::condition_variable answered;
    std::optional<bool> answer;
    bool abandoned = false; // the program quits: every later report is cancelled
    RunOnWorker(
        [&](QEventLoop& loop) {
            // The prompt lives on the window's thread: each report is shown there, and the
            // worker goes on with the user's answer.
            const TaskProgress progress = [&](int done, int all) {
                {
                    const std::lock_guard<std::mutex> lock(mutex);
                    if (abandoned)
                        return false;
                    answer.reset();
                }
                QMetaObject::invokeMethod(
                    &loop,
                    [&, done, all] {
                        const bool goOn = prompt.ShowProgress(title, done, all);
                        const std::lock_guard<std::mutex> lock(mutex);
                        answer = goOn;
                        answered.notify_one();
                    },
                    Qt::QueuedConnection);
                std::unique_lock<std::mutex> lock(mutex);
                answered.wait(lock, [&] { return answer.has_value(); });
                return *answer;
            };
            work(progress);
        },
        QEventLoop::AllEvents,
        [&] {
            const std::lock_guard<std::mutex> lock(mutex);
            abandoned = true;
            answer = false;
            answered.notify_one();
        });
    prompt.EndProgress();
}

void RunWhileBusy(const std::function<void()>& work) {
    const BusyCursor busy;
    RunOnWorker([&](QEventLoop&) { work(); }, QEventLoop::ExcludeUserInputEvents);
}
