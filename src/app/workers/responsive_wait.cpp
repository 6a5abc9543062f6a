#include "app/workers/responsive_wait.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QThread>

namespace qb::app {

void ResponsiveWait(int milliseconds) {
    const QDateTime deadline = QDateTime::currentDateTime().addMSecs(milliseconds);
    do {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        QThread::msleep(50);
    } while (QDateTime::currentDateTime() < deadline);
}

} // namespace qb::app
