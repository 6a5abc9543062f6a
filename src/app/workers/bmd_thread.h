#pragma once

#include "app/workers/job_thread.h"

#include <QObject>

#include <chrono>
#include <functional>
#include <memory>

class QThread;

namespace qb::app {

// A worker of the main window: runs one job at a time on a thread of its own.
//
// The worker counts as running from Start until the end of its job has been processed on the
// thread that owns the worker (the window's thread), not merely until the job's handler has
// returned. A Start while it runs does nothing, so a stop request followed at once by Start
// leaves the running job alone and starts nothing new.
class TBMDThread : public QObject {
    Q_OBJECT

public:
    using Handler = std::function<void(JobThread&)>;

    explicit TBMDThread(QObject* parent = nullptr);
    // Teardown: asks a running job to stop and waits for its end while processing the
    // window's events, so a job that is waiting for a call on the window's thread can finish.
    // The wait is bounded (see setTeardownWaitLimit) so that exit can never hang.
    ~TBMDThread() override;

    // The job (OnExecute). Set it before the first Start.
    void setOnExecute(Handler handler);

    // Starts the job on a new thread, unless the worker is running. Called from a job, it is
    // carried out on the window's thread.
    void Start();
    // Sets the running job's stop request; does nothing on an idle worker. Called from a job,
    // it is carried out on the window's thread.
    void Stop();

    // On the owning thread only.
    bool isRunning() const { return Thread_ != nullptr; }

    // How long the teardown waits for a job that ignores its stop request before it leaves
    // the job to finish on its own. A job left so is abandoned (JobThread::abandon): its calls
    // to the window's thread fail from then on, so it must reach the window only through them.
    // A job that ends on an error, or is left behind, leaves a warning in the log (category
    // "quillbrook.jobs"); the user is not told.
    void setTeardownWaitLimit(std::chrono::milliseconds limit) { TeardownLimit_ = limit; }

    // Test seam: runs on the job's thread before the stop request is looked at, so a test can
    // set the request "before the thread has begun".
    void setThreadBeginHook(std::function<void()> hook) { BeginHook_ = std::move(hook); }

private:
    void jobEnded(QThread* thread);

    Handler OnExecute_;
    std::function<void()> BeginHook_;
    std::shared_ptr<JobThread> Job_;
    QThread* Thread_ = nullptr;
    bool TearingDown_ = false;
    std::chrono::milliseconds TeardownLimit_{std::chrono::seconds(10)};
};

} // namespace qb::app
