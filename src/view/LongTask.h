// Long work (continua, made voices) on a worker thread while the window stays responsive.
#pragma once

#include <functional>
#include <string>

// Tells how far the work has come (done of total); false once the user has cancelled.
using TaskProgress = std::function<bool(int done, int total)>;

// Runs work on a worker thread and returns once it is done. Meanwhile the calling (window's)
// thread runs its event loop: the window repaints and its timers fire. The input prompt's
// progress shows 0 of total at the start and then each progress the work reports; the work
// waits for the answer, so a Cancel ends it after the step the user saw. The progress is
// closed at the end. An exception of the work is thrown again on the calling thread. When
// the event loop is ended from outside (the program quits), the work is cancelled at its next
// report and waited for.
void RunWithProgress(const std::string& title, int total,
                     const std::function<void(const TaskProgress&)>& work);

// Runs work on a worker thread and returns once it is done, under the busy cursor. The window
// repaints and its timers fire; what the user types or clicks meanwhile waits until the work
// is done, as it would if the work ran on the window's thread.
void RunWhileBusy(const std::function<void()>& work);
