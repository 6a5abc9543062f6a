#include "window_fixture.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

namespace qb::test {

bool WindowTest::waitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > limit.count()) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
    return true;
}

} // namespace qb::test
