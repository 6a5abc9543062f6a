#include "app/workers/window_thread.h"

#include <QCoreApplication>
#include <QThread>

#include <condition_variable>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>

namespace qb::app {

namespace {

struct Call {
    std::function<void()> fn;
    // The job that made the call; none for calls from other threads.
    std::shared_ptr<const JobThread> job;
    std::exception_ptr error;
    bool done = false;
    bool abandoned = false;
};

// The calls waiting for the window's thread. One queue for all jobs keeps their accesses in
// the order issued. The lock is held only to move calls in and out, never while a call runs.
struct CallQueue {
    std::mutex lock;
    std::condition_variable changed;
    std::deque<std::shared_ptr<Call>> pending;
    bool ended = false;
    bool postRoutineAdded = false;
};

// Never destroyed: the application's destruction, which may come after the end of static
// lifetimes, still ends the calls through it.
CallQueue& queue() {
    static auto* instance = new CallQueue;
    return *instance;
}

thread_local std::shared_ptr<const JobThread> currentJob;

bool ofAbandonedJob(const Call& call) {
    return call.job != nullptr && call.job->abandoned();
}

void endOnApplicationExit() {
    endWindowThreadCalls();
}

bool onWindowThread(const QCoreApplication* app) {
    return app != nullptr && QThread::currentThread() == app->thread();
}

} // namespace

WindowThreadGone::WindowThreadGone()
    : std::runtime_error("the window's thread carries out no more calls") {}

void runOnWindowThread(const std::function<void()>& fn) {
    QCoreApplication* app = QCoreApplication::instance();
    if (onWindowThread(app)) {
        fn();
        return;
    }
    if (currentJob != nullptr && currentJob->abandoned()) {
        throw WindowThreadGone();
    }
    auto call = std::make_shared<Call>();
    call->fn = fn;
    call->job = currentJob;
    CallQueue& q = queue();
    std::unique_lock guard(q.lock);
    // Checked under the lock: the application's destruction ends the calls (through the post
    // routine) before the application object goes away, so posting below is safe.
    app = QCoreApplication::instance();
    if (q.ended || app == nullptr) {
        throw WindowThreadGone();
    }
    if (!q.postRoutineAdded) {
        qAddPostRoutine(&endOnApplicationExit);
        q.postRoutineAdded = true;
    }
    q.pending.push_back(call);
    QMetaObject::invokeMethod(app, &processWindowThreadCalls, Qt::QueuedConnection);
    q.changed.wait(guard, [&] { return call->done || call->abandoned; });
    if (!call->done) {
        throw WindowThreadGone();
    }
    if (call->error) {
        std::rethrow_exception(call->error);
    }
}

void processWindowThreadCalls() {
    CallQueue& q = queue();
    for (;;) {
        std::shared_ptr<Call> call;
        {
            std::lock_guard guard(q.lock);
            if (q.pending.empty()) {
                return;
            }
            call = std::move(q.pending.front());
            q.pending.pop_front();
            // Checked on the window's thread, where the teardown abandons jobs: a call of a job
            // whose window is gone never runs.
            if (ofAbandonedJob(*call)) {
                call->abandoned = true;
                q.changed.notify_all();
                continue;
            }
        }
        try {
            call->fn();
        } catch (...) {
            call->error = std::current_exception();
        }
        {
            std::lock_guard guard(q.lock);
            call->done = true;
        }
        q.changed.notify_all();
    }
}

JobCallsScope::JobCallsScope(std::shared_ptr<const JobThread> job) {
    currentJob = std::move(job);
}

JobCallsScope::~JobCallsScope() {
    currentJob.reset();
}

void endCallsOfAbandonedJob(const JobThread* job) {
    CallQueue& q = queue();
    {
        std::lock_guard guard(q.lock);
        std::erase_if(q.pending, [job](const std::shared_ptr<Call>& call) {
            if (call->job.get() != job) {
                return false;
            }
            call->abandoned = true;
            return true;
        });
    }
    q.changed.notify_all();
}

void endWindowThreadCalls() {
    CallQueue& q = queue();
    {
        std::lock_guard guard(q.lock);
        q.ended = true;
        for (const auto& call : q.pending) {
            call->abandoned = true;
        }
        q.pending.clear();
    }
    q.changed.notify_all();
}

bool windowThreadCallsOpen() {
    CallQueue& q = queue();
    std::lock_guard guard(q.lock);
    return !q.ended;
}

int windowThreadCallsWaiting() {
    CallQueue& q = queue();
    std::lock_guard guard(q.lock);
    return static_cast<int>(q.pending.size());
}

} // namespace qb::app
