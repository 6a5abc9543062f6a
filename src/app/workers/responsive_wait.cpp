#include "app/workers/responsive_wait.h"

#include "app/workers/nested_loops.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
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
    // Each event is handled as it comes, in an event loop the timer ends when the time is up. A
    // wait begun by a handler inside this one ends first; this one then ends as soon as its own
    // time is up.
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    for (qint64 left = length - elapsed.elapsed(); left > 0; left = length - elapsed.elapsed()) {
        timer.start(std::chrono::milliseconds(left));
        if (loop.exec() < 0) {
            // The program is quitting and its loops no longer run: the events are handled
            // without one until the timer fires.
            QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
        }
    }
}

} // namespace qb::app
