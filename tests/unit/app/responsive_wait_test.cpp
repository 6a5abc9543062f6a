#include "app/workers/bmd_thread.h"
#include "app/workers/responsive_wait.h"
#include "app/workers/window_thread.h"
#include "core_app.h"

#include <QElapsedTimer>
#include <QTimer>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

using qb::app::ResponsiveWait;
using qb::test::coreApp;

qint64 measured(int milliseconds) {
    QElapsedTimer elapsed;
    elapsed.start();
    ResponsiveWait(milliseconds);
    return elapsed.elapsed();
}

TEST(ResponsiveWait, LastsAtLeastTheTimeAskedFor) {
    coreApp();
    for (const int ms : {1, 20, 120, 300}) {
        EXPECT_GE(measured(ms), ms) << ms;
    }
}

TEST(ResponsiveWait, WithNoTimeLeftStillHandlesThePendingEvents) {
    QCoreApplication& app = coreApp();
    for (const int ms : {0, -20}) {
        bool queuedRan = false;
        QMetaObject::invokeMethod(
            &app, [&] { queuedRan = true; }, Qt::QueuedConnection);
        ResponsiveWait(ms);
        EXPECT_TRUE(queuedRan) << ms;
    }
}

TEST(ResponsiveWait, KeepsTimersAndQueuedEventsRunning) {
    QCoreApplication& app = coreApp();
    int ticks = 0;
    QTimer timer;
    timer.setInterval(10);
    QObject::connect(&timer, &QTimer::timeout, &app, [&] { ++ticks; });
    timer.start();
    bool queuedRan = false;
    QMetaObject::invokeMethod(
        &app, [&] { queuedRan = true; }, Qt::QueuedConnection);
    ResponsiveWait(200);
    EXPECT_TRUE(queuedRan);
    EXPECT_GE(ticks, 1);
}

TEST(ResponsiveWait, ServesTheJobsCallsToTheWindowThread) {
    coreApp();
    qb::app::TBMDThread worker;
    std::atomic<bool> served{false};
    worker.setOnExecute(
        [&](qb::app::JobThread&) { qb::app::runOnWindowThread([&] { served = true; }); });
    worker.Start();
    // Nothing but the waits processes events here.
    for (int i = 0; i < 200 && worker.isRunning(); ++i) {
        ResponsiveWait(0);
    }
    EXPECT_TRUE(served);
    EXPECT_FALSE(worker.isRunning());
}

TEST(ResponsiveWait, IsAPlainPauseOnAThreadWithoutEvents) {
    coreApp();
    qint64 took = 0;
    std::thread job([&] { took = measured(120); });
    job.join();
    EXPECT_GE(took, 120);
}

} // namespace
