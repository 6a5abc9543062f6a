#pragma once

#include "app/workers/job_thread.h"

#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <type_traits>
#include <utility>

namespace qb::app {

// Raised by runOnWindowThread when the window's thread no longer carries out calls (the
// program is ending), so a job that wants the window ends instead of waiting for ever.
class WindowThreadGone : public std::runtime_error {
public:
    WindowThreadGone();
};

// Runs `fn` on the window's thread (the thread of the QCoreApplication) and waits until it
// has run. Calls from the jobs are carried out one by one in the order they were issued.
// On the window's thread itself `fn` runs directly. An exception thrown by `fn` is thrown
// again to the caller, so an error in a widget access ends the job as an error in the job
// would.
void runOnWindowThread(const std::function<void()>& fn);

// The same for a function with a result, which is handed back to the caller.
template <class F>
requires(!std::is_void_v<std::invoke_result_t<F&>>) std::invoke_result_t<F&> runOnWindowThread(
    F&& fn) {
    using Result = std::invoke_result_t<F&>;
    static_assert(!std::is_reference_v<Result>, "return a value, not a reference");
    std::optional<Result> result;
    runOnWindowThread(std::function<void()>([&] { result.emplace(fn()); }));
    return std::move(*result);
}

// The job whose calls this thread makes: set by the worker for the run of its job, so that the
// calls of a job cut loose from its window (JobThread::abandon) fail instead of running.
class JobCallsScope {
public:
    explicit JobCallsScope(std::shared_ptr<const JobThread> job);
    ~JobCallsScope();
    JobCallsScope(const JobCallsScope&) = delete;
    JobCallsScope& operator=(const JobCallsScope&) = delete;
};

// Ends the calls of an abandoned job that wait for the window's thread: its callers get
// WindowThreadGone at once. Later calls of the job fail as well.
void endCallsOfAbandonedJob(const JobThread* job);

// Carries out the calls that are waiting for the window's thread. Called on the window's
// thread: by the event posted with each call, and by a worker's teardown, which waits for
// its job without running the window's other events.
void processWindowThreadCalls();

// From now on the window's thread carries out no more calls: waiting callers and every later
// caller on another thread get WindowThreadGone. Called once the window is gone; also done
// when the QCoreApplication is destroyed.
void endWindowThreadCalls();

// Whether calls are still carried out (false after endWindowThreadCalls).
bool windowThreadCallsOpen();

// How many calls are queued and not yet begun.
int windowThreadCallsWaiting();

} // namespace qb::app
