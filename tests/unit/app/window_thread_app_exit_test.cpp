// The application object goes away in this test, so it has a program of its own.
#include "app/workers/window_thread.h"
#include "core_app.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>

namespace {

TEST(WindowThreadEnd, DestroyingTheApplicationReleasesAWaitingCall) {
    int argc = 1;
    char name[] = "exit-test";
    char* argv[] = {name, nullptr};
    auto app = std::make_unique<QCoreApplication>(argc, argv);
    std::atomic<bool> gone{false};
    std::atomic<bool> ran{false};
    std::thread job([&] {
        try {
            qb::app::runOnWindowThread([&] { ran = true; });
        } catch (const qb::app::WindowThreadGone&) {
            gone = true;
        }
    });
    ASSERT_TRUE(qb::test::waitUntil([] { return qb::app::windowThreadCallsWaiting() == 1; }));
    app.reset();
    job.join();
    EXPECT_TRUE(gone);
    EXPECT_FALSE(ran);
}

} // namespace
