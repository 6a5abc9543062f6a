// The nested event loops of the window's thread are told to an observer, once each, on that
// thread only.
#include "app/workers/nested_loops.h"
#include "app/workers/responsive_wait.h"
#include "connection/http/event_flowing_call.h"
#include "core_app.h"

#include <gtest/gtest.h>

#include <functional>
#include <thread>
#include <vector>

namespace {

using qb::app::NestedLoop;
using qb::test::coreApp;

// Records what the observer is told while it lives.
class Observed {
public:
    explicit Observed(std::function<void(NestedLoop)> also = {}) {
        qb::app::setNestedLoopObserver([this, also = std::move(also)](NestedLoop kind) {
            kinds.push_back(kind);
            if (also) {
                also(kind);
            }
        });
    }
    ~Observed() { qb::app::setNestedLoopObserver({}); }
    Observed(const Observed&) = delete;
    Observed& operator=(const Observed&) = delete;

    std::vector<NestedLoop> kinds;
};

TEST(NestedLoops, EachLoopOfTheWindowThreadIsToldOnceWithItsKind) {
    coreApp();
    const struct {
        std::function<void()> loop;
        NestedLoop kind;
    } cases[] = {
        {[] { qb::app::ResponsiveWait(120); }, NestedLoop::Wait},
        {[] { qb::net::runWhileProcessingEvents([] { std::this_thread::yield(); }); },
         NestedLoop::Request},
        {[] { qb::app::processPendingEvents(); }, NestedLoop::Events},
    };
    for (const auto& c : cases) {
        const Observed observed;
        c.loop();
        EXPECT_EQ(observed.kinds, std::vector<NestedLoop>{c.kind});
    }
}

TEST(NestedLoops, TheObserverIsNotToldOfTheLoopsItEntersItself) {
    coreApp();
    const Observed observed([](NestedLoop) { qb::app::ResponsiveWait(0); });
    qb::app::processPendingEvents();
    qb::app::processPendingEvents();
    EXPECT_EQ(observed.kinds, (std::vector<NestedLoop>{NestedLoop::Events, NestedLoop::Events}));
}

TEST(NestedLoops, WaitsOfOtherThreadsAreNotTold) {
    coreApp();
    const Observed observed;
    std::thread job([] { qb::app::ResponsiveWait(0); });
    job.join();
    EXPECT_TRUE(observed.kinds.empty());
}

} // namespace
