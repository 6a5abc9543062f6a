#include "app/workers/nested_loops.h"

#include <QCoreApplication>
#include <QThread>

#include <utility>

namespace qb::app {

namespace {
// Read and written on the application's thread only.
std::function<void(NestedLoop)>& observer() {
    static std::function<void(NestedLoop)> instance;
    return instance;
}
bool observing = false;

bool onApplicationThread() {
    const QCoreApplication* app = QCoreApplication::instance();
    return app != nullptr && QThread::currentThread() == app->thread();
}
} // namespace

void setNestedLoopObserver(std::function<void(NestedLoop)> fn) {
    observer() = std::move(fn);
}

void nestedLoopBegins(NestedLoop kind) {
    if (!onApplicationThread() || observing || !observer()) {
        return;
    }
    observing = true;
    try {
        // A copy: the observer may replace itself.
        const std::function<void(NestedLoop)> fn = observer();
        fn(kind);
    } catch (...) {
        observing = false;
        throw;
    }
    observing = false;
}

void processPendingEvents() {
    nestedLoopBegins(NestedLoop::Events);
    QCoreApplication::processEvents();
}

} // namespace qb::app
