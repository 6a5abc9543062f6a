#include "app/workers/responsive_wait.h"

#include "app/workers/nested_loops.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

namespace qb::app {

void ResponsiveWait(int milliseconds) {
    // A monotonic clock: a change of the system time or of daylight saving must neither cut a
    // wait short nor stretch it by hours.
    QElapsedTimer elapsed;
    elapsed.start();
    nestedLoopBegins(NestedLoop::Wait);
    do {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        QThread::msleep(50);
    } while (elapsed.elapsed() < milliseconds);
}

} // namespace qb::app
