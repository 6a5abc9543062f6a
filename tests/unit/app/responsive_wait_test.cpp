#include "app/workers/bmd_thread.h"
#include "app/workers/responsive_wait.h"
#include "app/workers/window_thread.h"
#include "core_app.h"

#include <QElapsedTimer>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
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

TEST(ResponsiveWait, LastsAtLeastTheTimeAskedForAndNeverUnder50Ms) {
    coreApp();
    for (const int ms : {-20, 0, 1, 20, 49, 120, 300}) {
        EXPECT_GE(measured(ms), std::max(ms, 50)) << ms;
    }
}

TEST(ResponsiveWait, AWaitInsideAnotherLastsItsTimeAndTheOuterOneItsOwn) {
    QCoreApplication& app = coreApp();
    const struct {
        int outer;
        int inner;
    } cases[] = {{120, 300}, {300, 60}, {0, 0}};
    for (const auto& c : cases) {
        qint64 inner = -1;
        QMetaObject::invokeMethod(
            &app, [&] { inner = measured(c.inner); }, Qt::QueuedConnection);
        EXPECT_GE(measured(c.outer), std::max({c.outer, c.inner, 50})) << c.outer;
        EXPECT_GE(inner, std::max(c.inner, 50)) << c.inner;
    }
}

TEST(ResponsiveWait, OnAWorkerThreadHandlesThatThreadsEvents) {
    coreApp();
    QThread worker;
    worker.start();
    QObject onWorker;
    onWorker.moveToThread(&worker);
    std::atomic<qint64> took{0};
    std::atomic<bool> queuedRan{false};
    QMetaObject::invokeMethod(
        &onWorker,
        [&] {
            QMetaObject::invokeMethod(
                &onWorker, [&] { queuedRan = true; }, Qt::QueuedConnection);
            took = measured(120);
        },
        Qt::BlockingQueuedConnection);
    worker.quit();
    worker.wait();
    EXPECT_GE(took.load(), 120);
    EXPECT_TRUE(queuedRan);
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
