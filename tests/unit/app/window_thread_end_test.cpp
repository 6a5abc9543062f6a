// Ending the window thread's calls is for good, so these tests have a program of their own.
#include "app/workers/bmd_thread.h"
#include "app/workers/window_thread.h"
#include "core_app.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

using qb::app::runOnWindowThread;
using qb::app::WindowThreadGone;
using qb::test::coreApp;
using qb::test::processEventsUntil;
using qb::test::waitUntil;

TEST(WindowThreadEnd, WaitingAndLaterCallsFailInsteadOfHanging) {
    coreApp();
    std::atomic<bool> ran{false};
    std::atomic<bool> gone{false};
    qb::app::TBMDThread worker;
    std::atomic<bool> jobReachedEnd{false};
    worker.setOnExecute([&](qb::app::JobThread&) {
        try {
            runOnWindowThread([&] { ran = true; });
        } catch (const WindowThreadGone&) {
            gone = true;
        }
        // A second call ends the job with the error.
        runOnWindowThread([&] { ran = true; });
        jobReachedEnd = true;
    });
    worker.Start();
    ASSERT_TRUE(waitUntil([] { return qb::app::windowThreadCallsWaiting() == 1; }));
    qb::app::endWindowThreadCalls();
    EXPECT_FALSE(qb::app::windowThreadCallsOpen());
    ASSERT_TRUE(processEventsUntil([&] { return !worker.isRunning(); }));
    EXPECT_TRUE(gone);
    EXPECT_FALSE(ran);
    EXPECT_FALSE(jobReachedEnd);

    // A plain thread fails at once; the window's thread itself still runs its own calls.
    bool threw = false;
    std::thread([&] {
        try {
            runOnWindowThread([] {});
        } catch (const WindowThreadGone&) {
            threw = true;
        }
    }).join();
    EXPECT_TRUE(threw);
    EXPECT_EQ(runOnWindowThread([] { return 3; }), 3);
}

} // namespace
