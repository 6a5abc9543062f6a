// Threads: aborting from elsewhere, sharing one client, and the window's events during a
// request made on the window's thread.
#include "net_test_support.h"

#include <QCoreApplication>
#include <QTimer>

#include <gtest/gtest.h>

#include <atomic>
#include <set>

namespace qb::test {
namespace {

void hangsAfterReading(RawConnection& connection, RawHttpServer& server) {
    RecordedRequest request;
    if (server.readAndRecord(connection, request)) {
        connection.waitForPeerClose();
    }
}

TEST(Abort, CloseConnectionFromAnotherThreadEndsEveryHangingRequest) {
    RawHttpServer server(&hangsAfterReading);
    const auto preload = net::makeIdHttp3();
    auto first = std::async(std::launch::async,
                            [&] { return preload->get(qs(server.url("/torrent/preload/1"))); });
    auto second = std::async(std::launch::async,
                             [&] { return preload->get(qs(server.url("/torrent/preload/2"))); });
    ASSERT_TRUE(server.waitForRequests(2));
    preload->closeConnection();
    ASSERT_EQ(first.wait_for(std::chrono::seconds(5)), std::future_status::ready);
    ASSERT_EQ(second.wait_for(std::chrono::seconds(5)), std::future_status::ready);
    EXPECT_EQ(first.get().failure, net::FailureKind::Connection);
    EXPECT_EQ(second.get().failure, net::FailureKind::Connection);
}

TEST(Abort, AnEarlierCloseDoesNotEndALaterRequest) {
    RawHttpServer server(&answerWithPath);
    const auto client = net::makeIdHttp3();
    client->closeConnection();
    const net::HttpResult result = client->get(qs(server.url("/after")));
    EXPECT_TRUE(result.ok);
    EXPECT_EQ(result.body, "/after");
}

TEST(Abort, ShutDownEndsTheRequestInFlightAndEveryLaterOne) {
    RawHttpServer server(&hangsAfterReading);
    const auto client = net::makeIdHttp1();
    auto pending = std::async(std::launch::async,
                              [&client, &server] { return client->get(qs(server.url("/hang"))); });
    ASSERT_TRUE(server.waitForRequests(1));
    client->shutDown();
    ASSERT_EQ(pending.wait_for(std::chrono::seconds(5)), std::future_status::ready);
    EXPECT_EQ(pending.get().failure, net::FailureKind::Connection);
    // A later request to the same hanging server does not wait for it either.
    auto later = std::async(std::launch::async,
                            [&client, &server] { return client->get(qs(server.url("/later"))); });
    ASSERT_EQ(later.wait_for(std::chrono::seconds(5)), std::future_status::ready);
    EXPECT_EQ(later.get().failure, net::FailureKind::Connection);
}

TEST(Abort, ReleasingTheClientEndsItsRequests) {
    RawHttpServer server(&hangsAfterReading);
    auto client = net::makeIdHttp1();
    net::HttpClient* raw = client.get();
    auto pending = std::async(std::launch::async,
                              [raw, &server] { return raw->get(qs(server.url("/hang"))); });
    ASSERT_TRUE(server.waitForRequests(1));
    client.reset();
    ASSERT_EQ(pending.wait_for(std::chrono::seconds(5)), std::future_status::ready);
    EXPECT_FALSE(pending.get().ok);
}

TEST(Sharing, OneClientServesSeveralThreadsAtOnce) {
    RawHttpServer server(&answerWithPath);
    const auto shared = net::makeIdHttp1();
    constexpr int kThreads = 6;
    constexpr int kRequestsEach = 8;
    std::vector<std::future<int>> workers;
    for (int t = 0; t < kThreads; ++t) {
        workers.push_back(std::async(std::launch::async, [&, t] {
            int matched = 0;
            for (int i = 0; i < kRequestsEach; ++i) {
                const QByteArray path = "/t" + QByteArray::number(t) + "/r" + QByteArray::number(i);
                const net::HttpResult result = (i % 2 == 0)
                                                   ? shared->get(qs(server.url(path)))
                                                   : shared->post(qs(server.url(path)), path);
                matched += result.ok && result.body == path ? 1 : 0;
            }
            return matched;
        }));
    }
    for (auto& worker : workers) {
        EXPECT_EQ(worker.get(), kRequestsEach);
    }
    EXPECT_EQ(server.requests().size(), std::size_t{kThreads * kRequestsEach});
}

// The tests below run on the application's thread, as the window does.
class WindowThread : public ::testing::Test {
protected:
    int argc_ = 1;
    char name_[16] = "net_tests";
    char* argv_[2] = {name_, nullptr};
    QCoreApplication app_{argc_, argv_};
};

// A server that answers a request only once a timer of the window's thread has fired a few
// times after the request arrived.
class TickGatedServer {
public:
    explicit TickGatedServer(int ticksNeeded, std::chrono::milliseconds patience)
        : server_([this, ticksNeeded, patience](RawConnection& connection, RawHttpServer& s) {
            RecordedRequest request;
            if (!s.readAndRecord(connection, request)) {
                return;
            }
            {
                std::unique_lock lock(mutex_);
                const int goal = ticks_ + ticksNeeded;
                ticked_.wait_for(lock, patience, [&] { return ticks_ >= goal; });
            }
            connection.send(RawHttpServer::response(200, "OK", "answer"));
        }) {}

    void tick() {
        {
            std::lock_guard lock(mutex_);
            ++ticks_;
        }
        ticked_.notify_all();
    }
    int ticks() {
        std::lock_guard lock(mutex_);
        return ticks_;
    }
    QString url() const { return qs(server_.url("/list")); }

private:
    std::mutex mutex_;
    std::condition_variable ticked_;
    int ticks_ = 0;
    RawHttpServer server_;
};

TEST_F(WindowThread, WindowEventsFlowDuringAnIdHttpRequest) {
    TickGatedServer server(3, std::chrono::seconds(10));
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, &timer, [&] { server.tick(); });
    timer.start(5);
    for (const ClientFactory make : {&net::makeIdHttp1, &net::makeIdHttp3}) {
        const net::HttpResult result = make()->post(server.url(), {});
        EXPECT_TRUE(result.ok);
        EXPECT_EQ(result.body, "answer");
    }
    EXPECT_GE(server.ticks(), 6);
}

TEST_F(WindowThread, AHandlerRunningInsideTheWaitCanEndTheRequest) {
    RawHttpServer server(&hangsAfterReading);
    const auto preload = net::makeIdHttp3();
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &poll, [&] {
        if (!server.requests().empty()) {
            preload->closeConnection(); // as Esc does while the preload waits
        }
    });
    poll.start(5);
    const net::HttpResult result = preload->get(qs(server.url("/torrent/preload/x")));
    EXPECT_EQ(result.failure, net::FailureKind::Connection);
}

TEST_F(WindowThread, SearchAndPingClientsHoldTheWindow) {
    // If the window's events flowed, the server would answer at the first tick.
    TickGatedServer server(1, std::chrono::milliseconds(300));
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, &timer, [&] { server.tick(); });
    timer.start(0);
    const net::HttpResult result = net::makePing1()->get(server.url());
    EXPECT_TRUE(result.ok);
    EXPECT_EQ(server.ticks(), 0);
    QCoreApplication::processEvents();
    EXPECT_GT(server.ticks(), 0);
}

TEST_F(WindowThread, RequestsFromWorkersDoNotTouchTheWindowsEvents) {
    TickGatedServer server(1, std::chrono::milliseconds(300));
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, &timer, [&] { server.tick(); });
    timer.start(0);
    const auto client = net::makeIdHttp1();
    auto pending = std::async(std::launch::async, [&] { return client->get(server.url()); });
    EXPECT_TRUE(pending.get().ok);
    EXPECT_EQ(server.ticks(), 0);
}

} // namespace
} // namespace qb::test
