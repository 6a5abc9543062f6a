#include "app/workers/responsive_wait.h"

#include "app/workers/nested_loops.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <thread>

namespace qb::app {

namespace {
constexpr qint64 kShortestWaitMs = 50;
} // namespace

void ResponsiveWait(int milliseconds) {
    // A monotonic clock: a change of the system time or of daylight saving must neither cut a
    // wait short nor stretch it by hours.
    QElapsedTimer elapsed;
    elapsed.start();
    const qint64 length = std::max<qint64>(milliseconds, kShortestWaitMs);
    nestedLoopBegins(NestedLoop::Wait);
    QCoreApplication::processEvents(QEventLoop::AllEvents);

    if (QThread::currentThread()->eventDispatcher() == nullptr) {
        const qint64 left = length - elapsed.elapsed();
        if (left > 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(left));
        }
        return;
    }
    // Each event is handled as it comes; the timer wakes the thread when the time is up. A
    // wait begun by a handler inside this one handles this one's timer as well, and this one
    // then ends when that one has returned, as soon as its own time is up.
    QTimer timer;
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    for (qint64 left = length - elapsed.elapsed(); left > 0; left = length - elapsed.elapsed()) {
        if (!timer.isActive()) {
            timer.start(std::chrono::milliseconds(left));
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
}

} // namespace qb::app
