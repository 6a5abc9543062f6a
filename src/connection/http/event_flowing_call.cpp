#include "connection/http/event_flowing_call.h"

#include "app/workers/nested_loops.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QThread>

#include <atomic>
#include <exception>
#include <thread>

namespace qb::net {

bool onApplicationThread() {
    const QCoreApplication* app = QCoreApplication::instance();
    return app != nullptr && QThread::currentThread() == app->thread();
}

void runWhileProcessingEvents(const std::function<void()>& work) {
    QAbstractEventDispatcher* dispatcher = QThread::currentThread()->eventDispatcher();
    std::atomic<bool> done{false};
    std::exception_ptr error;

    std::thread runner([&] {
        try {
            work();
        } catch (...) {
            error = std::current_exception();
        }
        done.store(true, std::memory_order_release);
        // A wake-up stays pending until the dispatcher next waits, so none is lost even when
        // it comes before the wait below has begun.
        if (dispatcher != nullptr) {
            dispatcher->wakeUp();
        }
    });

    app::nestedLoopBegins(app::NestedLoop::Request);
    while (!done.load(std::memory_order_acquire)) {
        QCoreApplication::processEvents(dispatcher != nullptr
                                            ? QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents
                                            : QEventLoop::AllEvents);
        if (dispatcher == nullptr) {
            std::this_thread::yield();
        }
    }
    runner.join();
    if (error) {
        std::rethrow_exception(error);
    }
}

} // namespace qb::net
