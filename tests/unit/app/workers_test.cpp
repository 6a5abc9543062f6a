#include "app/workers/bmd_thread.h"
#include "app/workers/window_thread.h"
#include "core_app.h"
#include "job_log.h"

#include <QPointer>
#include <QString>

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <semaphore>
#include <stdexcept>
#include <thread>
#include <vector>

namespace {

using qb::app::JobThread;
using qb::app::runOnWindowThread;
using qb::app::TBMDThread;
using qb::test::coreApp;
using qb::test::processEventsUntil;
using qb::test::waitUntil;

bool onWindowThread() {
    return QThread::currentThread() == coreApp().thread();
}

class Worker : public ::testing::Test {
protected:
    void SetUp() override { coreApp(); }
    bool becomesIdle() {
        return processEventsUntil([this] { return !worker.isRunning(); });
    }
    TBMDThread worker;
};

TEST_F(Worker, RunsUntilTheEndIsProcessedOnTheWindowThread) {
    std::atomic<int> calls{0};
    std::atomic<bool> onJobThread{false};
    worker.setOnExecute([&](JobThread&) {
        onJobThread = !onWindowThread();
        ++calls;
    });
    worker.Start();
    ASSERT_TRUE(waitUntil([&] { return calls == 1; }));
    // The handler has returned, but its end has not been processed here yet.
    EXPECT_TRUE(worker.isRunning());
    worker.Start();
    ASSERT_TRUE(becomesIdle());
    EXPECT_EQ(calls, 1);
    EXPECT_TRUE(onJobThread);
    worker.Start();
    ASSERT_TRUE(becomesIdle());
    EXPECT_EQ(calls, 2);
}

TEST_F(Worker, StartWhileRunningStartsNothing) {
    std::atomic<int> calls{0};
    std::binary_semaphore release{0};
    worker.setOnExecute([&](JobThread&) {
        ++calls;
        release.acquire();
    });
    worker.Start();
    ASSERT_TRUE(waitUntil([&] { return calls == 1; }));
    worker.Start();
    worker.Start();
    release.release();
    ASSERT_TRUE(becomesIdle());
    EXPECT_EQ(calls, 1);
}

TEST_F(Worker, StopThenStartLeavesTheRunningJobAloneAndStartsNoSecond) {
    std::atomic<int> calls{0};
    std::atomic<bool> sawStop{false};
    std::vector<bool> stopAtBegin; // written by one job at a time
    worker.setOnExecute([&](JobThread& thread) {
        stopAtBegin.push_back(thread.stopRequested());
        ++calls;
        sawStop = waitUntil([&] { return thread.stopRequested(); });
    });
    worker.Start();
    ASSERT_TRUE(waitUntil([&] { return calls == 1; }));
    worker.Stop();
    worker.Start();
    ASSERT_TRUE(becomesIdle());
    EXPECT_EQ(calls, 1);
    EXPECT_TRUE(sawStop);
    // The next job begins without the old stop request.
    worker.Start();
    ASSERT_TRUE(waitUntil([&] { return calls == 2; }));
    worker.Stop();
    ASSERT_TRUE(becomesIdle());
    EXPECT_EQ(stopAtBegin, (std::vector<bool>{false, false}));
}

TEST_F(Worker, StopBeforeTheThreadBeginsSkipsTheHandler) {
    std::atomic<int> calls{0};
    std::binary_semaphore begin{0};
    worker.setThreadBeginHook([&] { begin.acquire(); });
    worker.setOnExecute([&](JobThread&) { ++calls; });
    worker.Start();
    worker.Stop();
    begin.release();
    ASSERT_TRUE(becomesIdle());
    EXPECT_EQ(calls, 0);
    worker.setThreadBeginHook({});
    worker.Start();
    ASSERT_TRUE(becomesIdle());
    EXPECT_EQ(calls, 1);
}

TEST_F(Worker, StopOnAnIdleWorkerDoesNothing) {
    std::atomic<int> calls{0};
    std::atomic<bool> stopSeen{true};
    worker.setOnExecute([&](JobThread& thread) {
        stopSeen = thread.stopRequested();
        ++calls;
    });
    worker.Stop();
    EXPECT_FALSE(worker.isRunning());
    worker.Start();
    ASSERT_TRUE(becomesIdle());
    EXPECT_EQ(calls, 1);
    EXPECT_FALSE(stopSeen);
}

TEST_F(Worker, AnErrorEndsTheJobWithALineInTheLogAndTheWorkerCanStartAgain) {
    struct ErrorCase {
        std::function<void()> raise;
        const char* logged; // what the line says besides the worker's name
    };
    const std::vector<ErrorCase> errors = {
        {[] { throw std::runtime_error("boom"); }, "boom"},
        {[] { throw 7; }, "not an exception"},
        {[] { throw qb::app::WindowThreadGone(); }, "carries out no more calls"},
        {[] { runOnWindowThread([] { throw std::logic_error("in a widget access"); }); },
         "in a widget access"},
    };
    worker.setObjectName(QStringLiteral("SRLAdd"));
    for (std::size_t i = 0; i < errors.size(); ++i) {
        const qb::test::JobLog log;
        std::atomic<bool> reachedEnd{false};
        worker.setOnExecute([&](JobThread&) {
            errors[i].raise();
            reachedEnd = true;
        });
        worker.Start();
        ASSERT_TRUE(becomesIdle()) << i;
        EXPECT_FALSE(reachedEnd) << i;
        const std::vector<QString> lines = log.lines();
        ASSERT_EQ(lines.size(), 1U) << i;
        EXPECT_TRUE(lines[0].startsWith(QStringLiteral("SRLAdd: the job ended on an error")))
            << lines[0].toStdString();
        EXPECT_TRUE(lines[0].contains(QString::fromUtf8(errors[i].logged)))
            << lines[0].toStdString();
    }
    const qb::test::JobLog log;
    std::atomic<bool> ran{false};
    worker.setOnExecute([&](JobThread&) { ran = true; });
    worker.Start();
    ASSERT_TRUE(becomesIdle());
    EXPECT_TRUE(ran);
    EXPECT_TRUE(log.lines().empty()); // a job that ends well leaves nothing
}

TEST_F(Worker, AJobCanStartAnotherWorkerAndStopItself) {
    TBMDThread second;
    std::atomic<bool> secondRan{false};
    std::atomic<bool> secondsThreadOwnedByWindow{false};
    std::atomic<bool> stoppedItself{false};
    second.setOnExecute([&](JobThread&) {
        secondsThreadOwnedByWindow = QThread::currentThread()->thread() == coreApp().thread();
        secondRan = true;
    });
    worker.setOnExecute([&](JobThread& thread) {
        second.Start();
        worker.Stop();
        stoppedItself = thread.stopRequested();
    });
    worker.Start();
    ASSERT_TRUE(processEventsUntil([&] { return !worker.isRunning() && !second.isRunning(); }));
    EXPECT_TRUE(secondRan);
    EXPECT_TRUE(secondsThreadOwnedByWindow);
    EXPECT_TRUE(stoppedItself);
}

TEST(WindowThreadCalls, RunInOrderOnTheWindowThreadWhileTheJobWaits) {
    coreApp();
    constexpr int kCalls = 200;
    std::vector<std::pair<int, int>> issued; // touched on the window thread only
    std::atomic<int> offThread{0};
    std::atomic<int> notYetDone{0};
    TBMDThread workers[2];
    for (int w = 0; w < 2; ++w) {
        workers[w].setOnExecute([&, w](JobThread&) {
            for (int i = 0; i < kCalls; ++i) {
                bool done = false;
                runOnWindowThread([&] {
                    offThread += onWindowThread() ? 0 : 1;
                    issued.emplace_back(w, i);
                    done = true;
                });
                notYetDone += done ? 0 : 1;
            }
        });
    }
    workers[0].Start();
    workers[1].Start();
    ASSERT_TRUE(
        processEventsUntil([&] { return !workers[0].isRunning() && !workers[1].isRunning(); }));
    EXPECT_EQ(offThread, 0);
    EXPECT_EQ(notYetDone, 0);
    ASSERT_EQ(issued.size(), 2u * kCalls);
    int next[2] = {0, 0};
    for (const auto& [w, i] : issued) {
        EXPECT_EQ(i, next[w]++) << "worker " << w;
    }
}

TEST(WindowThreadCalls, CarryResultsAndErrorsBack) {
    coreApp();
    TBMDThread worker;
    int number = 0;
    QString text;
    std::string error;
    worker.setOnExecute([&](JobThread&) {
        number = runOnWindowThread([] { return 42; });
        text = runOnWindowThread([] { return QStringLiteral("Сервер ОК"); });
        try {
            runOnWindowThread([] { throw std::runtime_error("widget gone"); });
        } catch (const std::runtime_error& e) {
            error = e.what();
        }
    });
    worker.Start();
    ASSERT_TRUE(processEventsUntil([&] { return !worker.isRunning(); }));
    EXPECT_EQ(number, 42);
    EXPECT_EQ(text, QStringLiteral("Сервер ОК"));
    EXPECT_EQ(error, "widget gone");
}

TEST(WindowThreadCalls, OnTheWindowThreadRunDirectly) {
    QCoreApplication& app = coreApp();
    bool posted = false;
    QMetaObject::invokeMethod(
        &app, [&] { posted = true; }, Qt::QueuedConnection);
    bool postedSeenInside = true;
    runOnWindowThread([&] { postedSeenInside = posted; });
    EXPECT_FALSE(postedSeenInside);
    EXPECT_EQ(runOnWindowThread([] { return 5; }), 5);
    EXPECT_THROW(runOnWindowThread([] { throw std::out_of_range("x"); }), std::out_of_range);
    ASSERT_TRUE(processEventsUntil([&] { return posted; }));
}

TEST(WorkerTeardown, ServesTheJobsCallsButNoOtherEvents) {
    QCoreApplication& app = coreApp();
    auto worker = std::make_unique<TBMDThread>();
    std::atomic<bool> entered{false};
    std::atomic<int> served{0};
    std::atomic<bool> finished{false};
    worker->setOnExecute([&](JobThread&) {
        entered = true;
        // A job that ignores its stop request and keeps reaching for the window.
        for (int i = 0; i < 20; ++i) {
            runOnWindowThread([&] { ++served; });
        }
        finished = true;
    });
    worker->Start();
    ASSERT_TRUE(waitUntil([&] { return entered.load(); }));
    bool otherEventRan = false;
    QMetaObject::invokeMethod(
        &app, [&] { otherEventRan = true; }, Qt::QueuedConnection);
    worker.reset();
    EXPECT_TRUE(finished);
    EXPECT_EQ(served, 20);
    EXPECT_FALSE(otherEventRan);
    ASSERT_TRUE(processEventsUntil([&] { return otherEventRan; }));
}

TEST(WorkerTeardown, GivesUpOnAJobBlockedElsewhereSoExitCannotHang) {
    coreApp();
    auto worker = std::make_unique<TBMDThread>();
    worker->setTeardownWaitLimit(std::chrono::milliseconds(100));
    auto release = std::make_shared<std::binary_semaphore>(0);
    auto jobThread = std::make_shared<QPointer<QThread>>();
    std::atomic<bool> entered{false};
    worker->setOnExecute([release, jobThread, &entered](JobThread&) {
        *jobThread = QThread::currentThread();
        entered = true;
        release->acquire();
    });
    worker->Start();
    ASSERT_TRUE(waitUntil([&] { return entered.load(); }));
    worker.reset();
    // The job goes on by itself; once it ends, its thread object is released.
    release->release();
    EXPECT_TRUE(processEventsUntil([&] {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return jobThread->isNull();
    }));
}

TEST(WorkerTeardown, AJobLeftBehindNeverReachesTheWindowAgain) {
    coreApp();
    auto worker = std::make_unique<TBMDThread>();
    worker->setTeardownWaitLimit(std::chrono::milliseconds(100));
    // What the window would be: gone with the teardown, while the job still holds its address.
    auto window = std::make_unique<int>(1);
    auto release = std::make_shared<std::binary_semaphore>(0);
    std::atomic<bool> entered{false};
    std::atomic<bool> refused{false};
    std::atomic<bool> ended{false};
    int* const windowAddress = window.get();
    std::atomic<int> reached{0};
    worker->setOnExecute([&, release, windowAddress](JobThread&) {
        entered = true;
        release->acquire();
        try {
            runOnWindowThread([&] { reached += *windowAddress; });
        } catch (const qb::app::WindowThreadGone&) {
            refused = true;
        }
        ended = true;
    });
    worker->Start();
    ASSERT_TRUE(waitUntil([&] { return entered.load(); }));
    worker.reset();
    window.reset();
    release->release();
    // The window's thread goes on handling events, as a program with another window would.
    ASSERT_TRUE(processEventsUntil([&] { return ended.load(); }));
    EXPECT_TRUE(refused);
    EXPECT_EQ(reached, 0);
}

} // namespace
