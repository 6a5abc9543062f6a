#include "app/workers/responsive_wait.h"

#include "app/workers/nested_loops.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <algorithm>

namespace qb::app {

namespace {
constexpr qint64 kShortestWaitMs = 50;
// Events that come during a wait are handed on within this time, well inside one frame. A wait
// that blocks until the next event (a nested event loop) hands them on at once, but with it the
// web engine drops the idle page asked for at start-up once the engine's first empty page has
// loaded; short steps keep the window at frame rate without that.
constexpr unsigned long kStepMs = 4;
} // namespace

void ResponsiveWait(int milliseconds) {
    // A monotonic clock: a change of the system time or of daylight saving must neither cut a
    // wait short nor stretch it by hours.
    QElapsedTimer elapsed;
    elapsed.start();
    const qint64 length = std::max<qint64>(milliseconds, kShortestWaitMs);
    nestedLoopBegins(NestedLoop::Wait);
    do {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        const qint64 left = length - elapsed.elapsed();
        if (left > 0) {
            QThread::msleep(std::min<unsigned long>(kStepMs, static_cast<unsigned long>(left)));
        }
    } while (elapsed.elapsed() < length);
}

} // namespace qb::app
