#include "connection/http/event_flowing_call.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>

#include <chrono>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>

namespace qb::net {

bool onApplicationThread() {
    const QCoreApplication* app = QCoreApplication::instance();
    return app != nullptr && QThread::currentThread() == app->thread();
}

void runWhileProcessingEvents(const std::function<void()>& work) {
    std::mutex mutex;
    std::condition_variable finished;
    bool done = false;
    std::exception_ptr error;
    QEventLoop loop;

    std::thread runner([&] {
        try {
            work();
        } catch (...) {
            error = std::current_exception();
        }
        // Posted before `done` is set: the loop object outlives the post, and a post still
        // queued when it goes is discarded with it.
        QMetaObject::invokeMethod(
            &loop, [&loop] { loop.quit(); }, Qt::QueuedConnection);
        {
            std::lock_guard lock(mutex);
            done = true;
        }
        finished.notify_all();
    });

    loop.exec();
    // The loop also ends when the application is told to quit. Events keep flowing until the
    // work is over, so teardown code that would end it can still run.
    std::unique_lock lock(mutex);
    while (!done) {
        lock.unlock();
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        lock.lock();
        finished.wait_for(lock, std::chrono::milliseconds(20), [&] { return done; });
    }
    lock.unlock();
    runner.join();
    if (error) {
        std::rethrow_exception(error);
    }
}

} // namespace qb::net
