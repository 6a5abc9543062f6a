// The stand-in service's fault switches, from the control endpoint and the command line.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>
#include <httplib.h>

#include "support/service_standin.h"

using qb::testing::ServiceStandin;

namespace {

// Sends one raw request and returns every byte the service sent before closing.
std::string rawExchange(int port, const std::string& request) {
    int sock = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(static_cast<uint16_t>(port));
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    timeval limit{10, 0};
    ::setsockopt(sock, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
    std::string answer;
    if (::connect(sock, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0 &&
        ::send(sock, request.data(), request.size(), MSG_NOSIGNAL) > 0) {
        char chunk[1024];
        for (ssize_t n; (n = ::recv(sock, chunk, sizeof chunk, 0)) > 0;)
            answer.append(chunk, static_cast<size_t>(n));
    }
    ::close(sock);
    return answer;
}

const std::string kVersionRequest = "GET /version.txt HTTP/1.1\r\nHost: x\r\n\r\n";

class ServiceFaults : public ::testing::Test {
protected:
    static void SetUpTestSuite() { service = new ServiceStandin(); }
    static void TearDownTestSuite() { delete service; }
    void TearDown() override { service->resetFaults(); }
    static httplib::Result get(const std::string& target, int timeoutMs = 5000) {
        httplib::Client client("127.0.0.1", service->port());
        client.set_read_timeout(std::chrono::milliseconds(timeoutMs));
        return client.Get(target.c_str());
    }
    static ServiceStandin* service;
};
ServiceStandin* ServiceFaults::service = nullptr;

TEST_F(ServiceFaults, SlowAnswerOutlastsAShortTimeoutThenExpires) {
    service->delay("/version.txt", 1500, 1);
    EXPECT_FALSE(get("/version.txt", 200)); // the client gives up first
    auto res = get("/version.txt", 200);    // the one slow answer is used up
    ASSERT_TRUE(res);
    EXPECT_EQ(res->body, "1.8.4");
}

TEST_F(ServiceFaults, StatusForAPrefixOnly) {
    const std::string page1 = "/get.php?secret=bqZanhMLfyKdoe&q=search/1/";
    service->failWithStatus(page1, 503);
    auto failed = get(page1 + "0/000/2/abc");
    ASSERT_TRUE(failed);
    EXPECT_EQ(failed->status, 503);
    EXPECT_NE(failed->body.find("503"), std::string::npos);
    EXPECT_EQ(get("/get.php?secret=bqZanhMLfyKdoe&q=search/0/0/000/2/abc")->status, 200);
    EXPECT_EQ(get("/version.txt")->status, 200);
}

TEST_F(ServiceFaults, AnswerWithAGivenBody) {
    service->answerWith("/check_poster.php", 200, "");
    auto res = get("/check_poster.php?url=" + service->baseUrl() + "/no-poster.jpg");
    ASSERT_TRUE(res);
    EXPECT_EQ(res->status, 200);
    EXPECT_EQ(res->body, "");
}

TEST_F(ServiceFaults, DroppedConnectionSendsNothing) {
    service->dropConnections("/version.txt", 1);
    EXPECT_EQ(rawExchange(service->port(), kVersionRequest), "");
    EXPECT_EQ(rawExchange(service->port(), kVersionRequest).rfind("HTTP/1.1 200", 0), 0u);
}

TEST_F(ServiceFaults, GarbageIsNotHttp) {
    service->answerGarbage("");
    const std::string answer = rawExchange(service->port(), kVersionRequest);
    EXPECT_FALSE(answer.empty());
    EXPECT_NE(answer.rfind("HTTP/", 0), 0u);
    EXPECT_FALSE(get("/version.txt")); // a client reports it as a broken answer
}

TEST_F(ServiceFaults, ResetClearsFaultsAndLog) {
    service->failWithStatus("", 500);
    service->dropConnections("/abt.need");
    EXPECT_EQ(get("/version.txt")->status, 500);
    service->resetFaults();
    EXPECT_EQ(get("/version.txt")->status, 200);
    EXPECT_TRUE(get("/abt.need"));
    EXPECT_EQ(service->requests().size(), 2u);
}

TEST_F(ServiceFaults, ControlRejectsMalformedRules) {
    httplib::Client client("127.0.0.1", service->port());
    for (const char* body : {"not json", R"({"kind":"explode"})", R"({"kind":"delay","ms":-1})",
                             R"({"kind":"status","status":42})", R"([{"kind":"drop"},{}])"}) {
        auto res = client.Post("/__control/faults", body, "application/json");
        ASSERT_TRUE(res);
        EXPECT_EQ(res->status, 400) << body;
    }
    EXPECT_EQ(client.Get("/__control/faults")->body, R"({"faults":[]})");
}

TEST(ServiceFaultOptions, CommandLineFaultsApplyFromTheStart) {
    ServiceStandin service({"--fault", "status=502@/version.txt", "--fault", "delay=1@/abt"});
    httplib::Client client("127.0.0.1", service.port());
    EXPECT_EQ(client.Get("/version.txt")->status, 502);
    EXPECT_EQ(client.Get("/abt.need")->status, 200);
}

TEST(ServiceFaultOptions, BadCommandLineFaultStopsTheStart) {
    for (const char* faultText : {"status", "delay=x", "drop=3", "boom@/"})
        EXPECT_THROW(ServiceStandin({"--fault", faultText}), std::runtime_error) << faultText;
}

} // namespace

namespace {

// Bytes of a raw answer after its head.
size_t bodyBytes(const std::string& answer) {
    const size_t headEnd = answer.find("\r\n\r\n");
    return headEnd == std::string::npos ? 0 : answer.size() - headEnd - 4;
}

TEST_F(ServiceFaults, CutAnswerStopsShortOfItsLengthThenServesAgain) {
    service->addFault({{"kind", "cut"}, {"match", "/version.txt"}, {"times", 1}});
    const std::string cut = rawExchange(service->port(), kVersionRequest);
    EXPECT_EQ(cut.rfind("HTTP/1.1 200", 0), 0u) << cut.substr(0, 80);
    EXPECT_NE(cut.find("Content-Length: 65536"), std::string::npos);
    EXPECT_GT(bodyBytes(cut), 0u);
    EXPECT_LE(bodyBytes(cut), 1000u);
    auto res = get("/version.txt");
    ASSERT_TRUE(res);
    EXPECT_EQ(res->body, "1.8.4");
}

TEST_F(ServiceFaults, HugeAnswerStreamsOneHundredMebibytes) {
    service->addFault({{"kind", "huge"}, {"match", "/get.php"}, {"times", 1}});
    httplib::Client client("127.0.0.1", service->port());
    size_t received = 0;
    bool marker = false;
    auto res = client.Get("/get.php?q=top", [&](const char* data, size_t length) {
        received += length;
        marker = marker || std::string_view(data, length).find('<') != std::string_view::npos;
        return true;
    });
    ASSERT_TRUE(res);
    EXPECT_EQ(res->status, 200);
    EXPECT_EQ(received, 100u * 1024 * 1024);
    EXPECT_FALSE(marker); // no page markup in the flood
}

} // namespace
