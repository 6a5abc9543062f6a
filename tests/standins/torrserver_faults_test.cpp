// The stand-in TorrServer's fault switches, seeding and request log.
#include "standin_fixture.h"

#include <QTemporaryDir>
#include <chrono>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <thread>

using nlohmann::json;
using qb::testing::torrServerOptions;
using qb::testing::TorrServerStandin;

namespace {
const std::string kHash = "dd8255ecdc7ca55fb0bbf81323d87062db1f6d1c";

class TorrServerFaults : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(server_.start()) << server_.error(); }

    httplib::Result echo(std::chrono::milliseconds readTimeout = std::chrono::seconds(5)) {
        httplib::Client client = server_.client();
        client.set_read_timeout(readTimeout);
        return client.Get("/echo");
    }

    TorrServerStandin server_;
};
} // namespace

TEST_F(TorrServerFaults, StatusDelayAndEchoLength) {
    struct Case {
        json control;
        int status;
        std::string body;
    };
    const Case cases[] = {
        {{{"status", {{"path", "/echo"}, {"code", 503}}}},
         503,
         R"({"message":"Service Unavailable"})"},
        {{{"status", {{"path", "/torrent/*"}, {"code", 500}}}}, 200, "1.1.77"},
        {{{"echoLength", 11}}, 200, "1.1.77....."},
        {{{"echoLength", 3}}, 200, "1.1"},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(server_.resetFaults());
        ASSERT_TRUE(server_.setFaults(c.control)) << c.control;
        const auto answer = echo();
        ASSERT_TRUE(answer) << c.control;
        EXPECT_EQ(answer->status, c.status) << c.control;
        EXPECT_EQ(answer->body, c.body) << c.control;
    }

    // A fault with "times" fires that often; a slow answer outlasts a short read limit.
    ASSERT_TRUE(server_.setFaults({{"reset", true}, {"status", {{"code", 500}, {"times", 1}}}}));
    EXPECT_EQ(echo()->status, 500);
    EXPECT_EQ(echo()->status, 200);
    // With "skip" the first requests pass: the fault meets the second one only.
    ASSERT_TRUE(server_.setFaults(
        {{"reset", true}, {"status", {{"code", 500}, {"times", 1}, {"skip", 1}}}}));
    EXPECT_EQ(echo()->status, 200);
    EXPECT_EQ(echo()->status, 500);
    EXPECT_EQ(echo()->status, 200);
    ASSERT_TRUE(server_.setFaults({{"delay", {{"path", "/echo"}, {"ms", 3000}}}}));
    EXPECT_FALSE(echo(std::chrono::milliseconds(300)));
    ASSERT_TRUE(server_.resetFaults());
    EXPECT_TRUE(echo(std::chrono::milliseconds(300)));
}

TEST_F(TorrServerFaults, DroppedConnectionsAndGarbage) {
    const std::string request = "GET /echo HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n";
    server_.clearRequests();
    ASSERT_TRUE(server_.setFaults({{"close", "/echo"}}));
    EXPECT_EQ(server_.rawExchange(request), "");
    EXPECT_FALSE(echo());

    ASSERT_TRUE(server_.setFaults({{"reset", true}, {"garbage", {{"path", "/echo"}}}}));
    const std::string garbage = server_.rawExchange(request);
    EXPECT_FALSE(garbage.empty());
    EXPECT_NE(garbage.rfind("HTTP/", 0), 0u);
    EXPECT_FALSE(echo());

    // Other paths are untouched, and the faulted requests are logged as such.
    EXPECT_EQ(server_.client().Post("/torrent/list", "", "")->status, 200);
    const json log = server_.requests();
    ASSERT_GE(log.size(), 4u) << log.dump();
    EXPECT_EQ(log[0].value("fault", ""), "close") << log.dump();
    EXPECT_EQ(log[2].value("fault", ""), "garbage") << log.dump();
    EXPECT_FALSE(log.back().contains("fault")) << log.dump();

    ASSERT_TRUE(server_.resetFaults());
    EXPECT_TRUE(echo());
}

TEST_F(TorrServerFaults, BrokenListAnswers) {
    ASSERT_TRUE(server_.setFaults({{"list", "malformed"}}));
    const auto malformed = server_.client().Post("/torrent/list", "", "");
    ASSERT_TRUE(malformed);
    EXPECT_EQ(malformed->status, 200);
    EXPECT_TRUE(json::parse(malformed->body, nullptr, false).is_discarded());

    ASSERT_TRUE(server_.setFaults({{"list", "object"}}));
    EXPECT_TRUE(json::parse(server_.client().Post("/torrent/list", "", "")->body).is_object());

    ASSERT_TRUE(server_.setFaults({{"list", nullptr}}));
    EXPECT_TRUE(json::parse(server_.client().Post("/torrent/list", "", "")->body).is_array());

    const auto refused = server_.client().Post("/__control", R"({"list": 5})", "");
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->status, 400);
}

TEST(TorrServerStartup, SwitchesSeedsAndLogFromTheCommandLine) {
    QTemporaryDir folder;
    const std::string dir = folder.path().toStdString();
    const std::string torrent = TorrServerStandin::makeTorrentFile(dir, "seeded.avi", 5000);
    ASSERT_FALSE(torrent.empty());
    {
        std::ofstream seed(dir + "/seed.txt");
        seed << "# demo torrents\nmagnet:?xt=urn:btih:" << kHash << "&dn=First\r\n\n"
             << torrent << "\n";
    }
    TorrServerStandin server(
        torrServerOptions(0, 64 * 1024 * 1024, {},
                          {"--seed", dir + "/seed.txt", "--log", dir + "/requests.jsonl",
                           "--list-fault", "object", "--status", "/torrent/rem=502"}));
    ASSERT_TRUE(server.start()) << server.error();

    EXPECT_TRUE(json::parse(server.client().Post("/torrent/list", "", "")->body).is_object());
    EXPECT_EQ(server.client().Post("/torrent/rem", R"({"hash":")" + kHash + R"("})", "")->status,
              502);
    ASSERT_TRUE(server.resetFaults());
    const json list = json::parse(server.client().Post("/torrent/list", "", "")->body);
    ASSERT_EQ(list.size(), 2u);
    std::vector<std::string> names = {list[0]["Name"], list[1]["Name"]};
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"First", "seeded.avi"}));

    // Every request but the control ones, as JSON lines.
    std::ifstream log(dir + "/requests.jsonl");
    std::vector<json> lines;
    for (std::string line; std::getline(log, line);) {
        lines.push_back(json::parse(line));
    }
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back()["target"], "/torrent/list");
    EXPECT_EQ(lines.back()["version"], "HTTP/1.1");
    for (const json& line : lines) {
        EXPECT_EQ(line["path"].get<std::string>().rfind("/__control", 0), std::string::npos);
    }
    EXPECT_EQ(server.requests().size(), lines.size());
}

TEST(TorrServerStartup, ReadySeedsHaveTheirFilesWithoutTheMetadataDelay) {
    QTemporaryDir folder;
    const std::string dir = folder.path().toStdString();
    {
        std::ofstream seed(dir + "/seed.txt");
        seed << "magnet:?xt=urn:btih:" << std::string(40, '1') << "&dn=Late\n"
             << "magnet:?xt=urn:btih:" << std::string(40, '2') << "&dn=Early ready\n";
    }
    TorrServerStandin server(
        torrServerOptions(60000, 64 * 1024 * 1024, {}, {"--seed", dir + "/seed.txt"}));
    ASSERT_TRUE(server.start()) << server.error();
    std::map<std::string, json> byName;
    for (int attempt = 0; attempt < 100 && !byName.contains("Early"); ++attempt) {
        byName.clear();
        for (const json& entry : json::parse(server.client().Post("/torrent/list", "", "")->body)) {
            if (entry.contains("Files")) {
                byName[entry["Name"]] = entry;
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    ASSERT_TRUE(byName.contains("Early"));
    EXPECT_GE(byName["Early"]["Files"].size(), 2u);
    EXPECT_FALSE(byName.contains("Late")); // still waiting for its metadata
}

namespace {

// An answer cut in the middle, and a flood of 100 MiB that the stand-in never holds whole.
TEST_F(TorrServerFaults, CutAndHugeAnswers) {
    server_.clearRequests();
    ASSERT_TRUE(server_.setFaults({{"cut", {{"path", "/echo"}, {"times", 1}}}}));
    const std::string cut =
        server_.rawExchange("GET /echo HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n");
    EXPECT_EQ(cut.rfind("HTTP/1.1 200", 0), 0u) << cut.substr(0, 80);
    const std::size_t headEnd = cut.find("\r\n\r\n");
    ASSERT_NE(headEnd, std::string::npos);
    EXPECT_NE(cut.find("Content-Length: 65536"), std::string::npos);
    EXPECT_LT(cut.size() - headEnd - 4, 65536u);
    EXPECT_TRUE(echo()); // used up

    ASSERT_TRUE(server_.setFaults({{"huge", {{"path", "/torrent/list"}, {"times", 1}}}}));
    std::size_t received = 0;
    auto client = server_.client();
    httplib::Request request;
    request.method = "POST";
    request.path = "/torrent/list";
    request.content_receiver = [&](const char*, std::size_t length, std::uint64_t, std::uint64_t) {
        received += length;
        return true;
    };
    const auto flood = client.send(request);
    ASSERT_TRUE(flood);
    EXPECT_EQ(flood->status, 200);
    EXPECT_EQ(received, 100u * 1024 * 1024);
    EXPECT_EQ(server_.client().Post("/torrent/list", "", "")->status, 200);

    const json log = server_.requests();
    ASSERT_GE(log.size(), 3u) << log.dump();
    EXPECT_EQ(log[0].value("fault", ""), "cut") << log.dump();
    EXPECT_EQ(log[2].value("fault", ""), "huge") << log.dump();
}

} // namespace
