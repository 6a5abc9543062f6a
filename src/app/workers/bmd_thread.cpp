#include "app/workers/bmd_thread.h"

#include "app/workers/window_thread.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QLoggingCategory>
#include <QThread>

#include <exception>

namespace qb::app {

Q_LOGGING_CATEGORY(lcJobs, "quillbrook.jobs")

namespace {
// How often the teardown looks for calls of the job to carry out while it waits for the end.
constexpr int kTeardownPollMs = 5;
} // namespace

TBMDThread::TBMDThread(QObject* parent)
    : QObject(parent) {}

TBMDThread::~TBMDThread() {
    TearingDown_ = true;
    if (Thread_ == nullptr) {
        return;
    }
    Job_->requestStop();
    // Only the job's calls to the window's thread are carried out while waiting, not the
    // window's other events: the window is being taken apart, and its timers and handlers must
    // not run any more. The calls are what a job may be blocked on.
    const QDeadlineTimer deadline(TeardownLimit_);
    for (;;) {
        processWindowThreadCalls();
        if (Thread_->wait(QDeadlineTimer(kTeardownPollMs))) {
            jobEnded(Thread_);
            return;
        }
        if (deadline.hasExpired()) {
            break;
        }
    }
    // The job ignores its stop request and is blocked on something else. Exit must not hang:
    // the thread is left to finish on its own and cleans up after itself. The window it served
    // goes away now: none of its calls to the window's thread is carried out any more.
    Job_->abandon();
    endCallsOfAbandonedJob(Job_.get());
    qCWarning(lcJobs, "%s: the job did not end within %lld ms of its stop request; left behind",
              qUtf8Printable(objectName()), static_cast<long long>(TeardownLimit_.count()));
    QThread* thread = Thread_;
    disconnect(thread, nullptr, this, nullptr);
    connect(thread, &QThread::finished, thread, &QObject::deleteLater);
    if (thread->isFinished()) {
        thread->deleteLater();
    }
    Thread_ = nullptr;
    Job_.reset();
}

void TBMDThread::setOnExecute(Handler handler) {
    OnExecute_ = std::move(handler);
}

void TBMDThread::Start() {
    if (QThread::currentThread() != thread()) {
        // A job starting another worker: the worker's state belongs to the window's thread.
        runOnWindowThread([this] { Start(); });
        return;
    }
    if (Thread_ != nullptr || TearingDown_) {
        return;
    }
    auto job = std::make_shared<JobThread>();
    QThread* jobThread =
        QThread::create([job, handler = OnExecute_, begin = BeginHook_, name = objectName()] {
            const JobCallsScope calls(job);
            try {
                if (begin) {
                    begin();
                }
                if (!job->stopRequested() && handler) {
                    handler(*job);
                }
            } catch (const std::exception& error) {
                // The user is not told, but the end of the job must be traceable.
                qCWarning(lcJobs, "%s: the job ended on an error: %s", qUtf8Printable(name),
                          error.what());
            } catch (...) {
                qCWarning(lcJobs, "%s: the job ended on an error that is not an exception",
                          qUtf8Printable(name));
            }
        });
    // The end of the job is handed to the thread that owns the worker; only there does the
    // worker become idle again.
    connect(
        jobThread, &QThread::finished, this, [this, jobThread] { jobEnded(jobThread); },
        Qt::QueuedConnection);
    Job_ = std::move(job);
    Thread_ = jobThread;
    jobThread->start(QThread::NormalPriority);
}

void TBMDThread::Stop() {
    if (QThread::currentThread() != thread()) {
        runOnWindowThread([this] { Stop(); });
        return;
    }
    if (Job_) {
        Job_->requestStop();
    }
}

void TBMDThread::jobEnded(QThread* jobThread) {
    jobThread->wait();
    delete jobThread;
    if (Thread_ == jobThread) {
        Thread_ = nullptr;
        Job_.reset();
    }
}

} // namespace qb::app
