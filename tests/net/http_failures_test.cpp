// Failures: the three kinds, and the transport numbers that the alive check looks for.
#include "connection/http/transport_failure.h"
#include "net_test_support.h"

#include <gtest/gtest.h>

namespace qb::test {
namespace {

bool carries(const net::HttpResult& result, const char* number) {
    return result.failureText.contains(QString::fromLatin1(number));
}

bool carriesAnyNumber(const net::HttpResult& result) {
    return carries(result, "12029") || carries(result, "12007") || carries(result, "12152");
}

struct BrokenServerCase {
    const char* name;
    RawHttpServer::Handler handler;
    const char* number;
};

void garbage(RawConnection& connection, RawHttpServer& server) {
    RecordedRequest request;
    if (server.readAndRecord(connection, request)) {
        connection.send("SSH-2.0-OpenSSH_9.2\r\nProtocol mismatch.\r\n");
    }
}

void badStatusLine(RawConnection& connection, RawHttpServer& server) {
    RecordedRequest request;
    if (server.readAndRecord(connection, request)) {
        connection.send("HTTP/1.1 OK fine\r\nContent-Length: 2\r\n\r\nhi");
    }
}

void closesWithoutAWord(RawConnection& connection, RawHttpServer& server) {
    RecordedRequest request;
    server.readAndRecord(connection, request);
}

void resetsBeforeAnswering(RawConnection& connection, RawHttpServer& server) {
    RecordedRequest request;
    if (server.readAndRecord(connection, request)) {
        connection.reset();
    }
}

void resetsMidAnswer(RawConnection& connection, RawHttpServer& server) {
    RecordedRequest request;
    if (server.readAndRecord(connection, request)) {
        connection.send("HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\nab");
        connection.reset();
    }
}

void closesMidAnswer(RawConnection& connection, RawHttpServer& server) {
    RecordedRequest request;
    if (server.readAndRecord(connection, request)) {
        connection.send("HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\nab");
    }
}

void brokenGzip(RawConnection& connection, RawHttpServer& server) {
    RecordedRequest request;
    if (server.readAndRecord(connection, request)) {
        connection.send(RawHttpServer::response(200, "OK", "abcd", {"Content-Encoding: gzip"}));
    }
}

class BrokenServers : public ::testing::TestWithParam<BrokenServerCase> {};

TEST_P(BrokenServers, FailAsConnectionFailuresWithTheirNumber) {
    RawHttpServer server(GetParam().handler);
    for (const NamedClient& named : kAllClients) {
        SCOPED_TRACE(named.name);
        const auto client = named.make();
        const auto result = bounded(*client, [&] { return client->get(qs(server.url("/echo"))); });
        ASSERT_TRUE(result.has_value());
        EXPECT_FALSE(result->ok);
        EXPECT_EQ(result->failure, net::FailureKind::Connection);
        EXPECT_TRUE(result->body.isEmpty());
        if (!QByteArray(named.name).startsWith("IdHTTP")) {
            EXPECT_TRUE(carries(*result, GetParam().number)) << result->failureText.toStdString();
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Answers, BrokenServers,
    ::testing::Values(BrokenServerCase{"NotHttp", &garbage, "12152"},
                      BrokenServerCase{"BadStatusLine", &badStatusLine, "12152"},
                      BrokenServerCase{"ClosesWithoutAnswer", &closesWithoutAWord, "12152"},
                      BrokenServerCase{"ResetBeforeAnswer", &resetsBeforeAnswering, "12029"},
                      BrokenServerCase{"BrokenCompression", &brokenGzip, "12152"},
                      // Broken off answers are connection failures that the alive check
                      // passes over.
                      BrokenServerCase{"ResetMidAnswer", &resetsMidAnswer, "12030"},
                      BrokenServerCase{"ClosedMidAnswer", &closesMidAnswer, "12030"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Failures, RefusedConnectionCarries12029) {
    RefusingPort refusing;
    const QString url = u"http://127.0.0.1:"_s + QString::number(refusing.port()) + u"/echo"_s;
    for (const NamedClient& named : kAllClients) {
        const net::HttpResult result = named.make()->get(url);
        EXPECT_FALSE(result.ok) << named.name;
        EXPECT_EQ(result.failure, net::FailureKind::Connection) << named.name;
        if (!QByteArray(named.name).startsWith("IdHTTP")) {
            EXPECT_TRUE(carries(result, "12029")) << named.name;
        }
    }
}

// A 64-letter label is longer than DNS allows, so the resolver gives up before sending any
// query: the test stays on this machine.
TEST(Failures, UnresolvableHostCarries12007) {
    const QString url = u"http://"_s + QString(64, u'a') + u".invalid/echo"_s;
    const auto ping = net::makePing1();
    const auto result = bounded(*ping, [&] { return ping->get(url); });
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(result->failure, net::FailureKind::Connection);
    EXPECT_TRUE(carries(*result, "12007")) << result->failureText.toStdString();
}

TEST(Failures, CurlCodesMapOntoTheThreeNumbers) {
    const struct {
        CURLcode code;
        bool answerStarted;
        const char* number;
        net::FailureKind kind;
    } cases[] = {
        {CURLE_COULDNT_RESOLVE_HOST, false, "12007", net::FailureKind::Connection},
        {CURLE_COULDNT_CONNECT, false, "12029", net::FailureKind::Connection},
        {CURLE_RECV_ERROR, false, "12029", net::FailureKind::Connection},
        {CURLE_RECV_ERROR, true, "12030", net::FailureKind::Connection},
        {CURLE_SEND_ERROR, false, "12029", net::FailureKind::Connection},
        {CURLE_GOT_NOTHING, false, "12152", net::FailureKind::Connection},
        {CURLE_WEIRD_SERVER_REPLY, true, "12152", net::FailureKind::Connection},
        {CURLE_UNSUPPORTED_PROTOCOL, true, "12152", net::FailureKind::Connection},
        {CURLE_BAD_CONTENT_ENCODING, true, "12152", net::FailureKind::Connection},
        {CURLE_OPERATION_TIMEDOUT, false, "12002", net::FailureKind::Timeout},
        {CURLE_PARTIAL_FILE, true, "12030", net::FailureKind::Connection},
    };
    for (const auto& c : cases) {
        const net::TransportFailure failure =
            net::transportFailure(net::TransferEnd::Curl, c.code, c.answerStarted, true, {});
        EXPECT_TRUE(failure.text.contains(QString::fromLatin1(c.number)))
            << c.code << ' ' << failure.text.toStdString();
        EXPECT_EQ(failure.kind, c.kind) << c.code;
    }
}

void hangsAfterReading(RawConnection& connection, RawHttpServer& server) {
    RecordedRequest request;
    if (server.readAndRecord(connection, request)) {
        connection.waitForPeerClose();
    }
}

TEST(TimeOuts, PingGivesUpOnASilentServerWithoutAnAliveCheckNumber) {
    RawHttpServer server(&hangsAfterReading);
    const auto ping = net::makePing1();
    const auto result = bounded(*ping, [&] { return ping->get(qs(server.url("/echo"))); });
    ASSERT_TRUE(result.has_value()) << "the 800 ms response limit did not end the request";
    EXPECT_EQ(result->failure, net::FailureKind::Timeout);
    EXPECT_FALSE(carriesAnyNumber(*result)) << result->failureText.toStdString();
}

TEST(TimeOuts, ReadTimeOutEndsAWaitOnlyWhenSet) {
    RawHttpServer server(&hangsAfterReading);
    const auto client = net::makeIdHttp1();
    client->setReadTimeoutMs(200);
    const auto result = bounded(*client, [&] { return client->get(qs(server.url("/slow"))); });
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(result->failure, net::FailureKind::Timeout);

    // Without a read time-out the request waits on until something ends it.
    client->setReadTimeoutMs(0);
    auto pending =
        std::async(std::launch::async, [&] { return client->get(qs(server.url("/slow"))); });
    ASSERT_TRUE(server.waitForRequests(2));
    EXPECT_EQ(pending.wait_for(std::chrono::milliseconds(400)), std::future_status::timeout);
    client->closeConnection();
    EXPECT_EQ(pending.get().failure, net::FailureKind::Connection);
}

TEST(TimeOuts, ReadTimeOutCountsSilenceNotTheWholeAnswer) {
    // The answer trickles in slower than in one read time-out, but never pauses that long.
    RawHttpServer server([](RawConnection& connection, RawHttpServer& s) {
        RecordedRequest request;
        if (!s.readAndRecord(connection, request)) {
            return;
        }
        connection.send("HTTP/1.1 200 OK\r\nContent-Length: 6\r\n\r\n");
        for (const char* piece : {"ab", "cd", "ef"}) {
            std::this_thread::sleep_for(std::chrono::milliseconds(150));
            connection.send(piece);
        }
    });
    const auto client = net::makeIdHttp1();
    client->setReadTimeoutMs(300);
    const auto result = bounded(*client, [&] { return client->get(qs(server.url("/trickle"))); });
    ASSERT_TRUE(result.has_value());
    EXPECT_TRUE(result->ok) << result->failureText.toStdString();
    EXPECT_EQ(result->body, "abcdef");
}

TEST(TimeOuts, ConnectTimeOutEndsAnUnansweredConnect) {
    FullBacklogPort full;
    if (!full.filled()) {
        GTEST_SKIP() << "this system answers connects beyond the listen queue";
    }
    const auto client = net::makeIdHttp1();
    client->setConnectTimeoutMs(300);
    const QString url = u"http://127.0.0.1:"_s + QString::number(full.port()) + u"/torrent/list"_s;
    const auto result = bounded(*client, [&] { return client->post(url, {}); });
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(result->failure, net::FailureKind::Timeout) << result->failureText.toStdString();
}

TEST(TimeOuts, SendTimeOutEndsABodyNobodyReads) {
    RawHttpServer server(
        [](RawConnection& connection, RawHttpServer&) { connection.waitForServerStop(); });
    const auto client = net::makeNetHttpClient1();
    client->setSendTimeoutMs(300);
    client->setReadTimeoutMs(0);
    const QByteArray body(64 * 1024 * 1024, 'x');
    const auto result =
        bounded(*client, [&] { return client->post(qs(server.url("/upload")), body); });
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(result->failure, net::FailureKind::Timeout) << result->failureText.toStdString();
    EXPECT_FALSE(carriesAnyNumber(*result));
}

} // namespace
} // namespace qb::test
