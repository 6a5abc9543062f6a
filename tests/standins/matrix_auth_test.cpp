// Basic authentication of today's server (--account, or --httpauth with accs.db): the guarded
// routes, and what /stream and /play allow without it.
#include "torrserver_test_support.h"

#include <gtest/gtest.h>

using nlohmann::json;
using namespace qb::testing;

namespace {
const std::string kHash = "dd8255ecdc7ca55fb0bbf81323d87062db1f6d1c";
const std::string kUnknown(40, 'a');

struct Call {
    std::string method;
    std::string path;
    std::string body;
};

Answer send(TorrServerStandin& server, const Call& call, const std::string& authorization) {
    httplib::Request request;
    request.method = call.method;
    request.path = call.path;
    request.body = call.body;
    if (!call.body.empty()) {
        request.set_header("Content-Type", "application/json");
    }
    if (!authorization.empty()) {
        request.set_header("Authorization", authorization);
    }
    httplib::Client client("127.0.0.1", server.port());
    return answerOf(client.send(request));
}

// "Basic " and base64 of "user:secret" / "user:wrong".
const std::string kRight = "Basic dXNlcjpzZWNyZXQ=";
const std::string kWrong = "Basic dXNlcjp3cm9uZw==";

class MatrixAuth : public ::testing::Test {
protected:
    void SetUp() override {
        auto options = matrixOptions();
        options.account = "user:secret";
        server_.emplace(options);
        ASSERT_TRUE(server_->start()) << server_->error();
        ASSERT_EQ(server_->addMagnet("magnet:?xt=urn:btih:" + kHash + "&dn=Bunny"), kHash);
        ASSERT_TRUE(eventually([this] {
            return send(*server_, {"GET", "/stream?link=" + kHash + "&stat", ""}, kRight)
                       .body.find("\"stat\":3") != std::string::npos;
        }));
    }
    std::optional<TorrServerStandin> server_;
};
} // namespace

TEST_F(MatrixAuth, GuardedRoutesWantAnAccount) {
    struct Case {
        Call call;
        int withAccount;
    };
    const Case cases[] = {
        {{"POST", "/torrents", R"({"action":"list"})"}, 200},
        {{"POST", "/torrent/upload", "x"}, 400},
        {{"POST", "/settings", R"({"action":"get"})"}, 200},
        {{"POST", "/cache", R"({"action":"get","hash":")" + kHash + R"("})"}, 200},
        {{"POST", "/viewed", R"({"action":"list"})"}, 200},
        {{"GET", "/playlistall/all.m3u", ""}, 200},
        {{"GET", "/", ""}, 200},
        {{"GET", "/stat", ""}, 200},
        {{"GET", "/magnets", ""}, 200},
        {{"GET", "/search/?query=x", ""}, 400},
        {{"GET", "/torznab/search/?query=x", ""}, 400},
        {{"GET", "/stream?link=" + kHash + "&stat", ""}, 200},
        {{"GET", "/stream?link=" + kUnknown + "&m3u", ""}, 200},
        // A torrent the server does not know (the m3u above loaded the other one).
        {{"GET", "/play/" + std::string(40, 'f') + "/1", ""}, 500},
    };
    for (const Case& c : cases) {
        for (const std::string& refused : {std::string(), kWrong}) {
            const Answer answer = send(*server_, c.call, refused);
            EXPECT_EQ(answer.status, 401) << c.call.path << " " << refused;
            EXPECT_EQ(answer.body, "") << c.call.path;
            EXPECT_EQ(answer.header("WWW-Authenticate"), "Basic realm=Authorization Required")
                << c.call.path;
        }
        EXPECT_EQ(send(*server_, c.call, kRight).status, c.withAccount) << c.call.path;
    }
}

TEST_F(MatrixAuth, KnownTorrentsPlayAndListWithoutAnAccount) {
    struct Case {
        Call call;
        int status;
    };
    const Case cases[] = {
        {{"GET", "/echo", ""}, 200},
        {{"GET", "/playlist?hash=" + kHash, ""}, 200},
        {{"GET", "/stream/Bunny.m3u?link=" + kHash + "&m3u", ""}, 200},
        {{"GET", "/stream?link=" + kHash + "&index=4&play", ""}, 200},
        {{"GET", "/play/" + kHash + "/4", ""}, 200},
        {{"GET", "/stream?link=" + kHash, ""}, 401},
        {{"GET", "/stream?link=http://example.org/x.torrent&m3u", ""}, 400},
        {{"GET", "/nothing", ""}, 404},
    };
    for (const Case& c : cases) {
        const Answer answer = send(*server_, c.call, "");
        EXPECT_EQ(answer.status, c.status) << c.call.path;
    }
    const Answer notFound = send(*server_, {"GET", "/nothing", ""}, "");
    EXPECT_EQ(notFound.body, "404 page not found");
}

TEST(MatrixAuthSetup, HttpAuthWithoutAccountsRefusesEveryGuardedRoute) {
    auto options = matrixOptions();
    options.extraArgs = {"--httpauth"};
    TorrServerStandin server(options);
    ASSERT_TRUE(server.start()) << server.error();
    EXPECT_EQ(send(server, {"POST", "/torrents", R"({"action":"list"})"}, kRight).status, 401);
    // Nothing checks requests, so /stream is open to all.
    EXPECT_EQ(send(server, {"GET", "/stream?link=" + kHash + "&stat", ""}, "").status, 200);
}

TEST(MatrixAuthSetup, AccountsOfAccsDbInThePathFolder) {
    QTemporaryDir folder;
    writeFile(folder.path().toStdString() + "/accs.db", R"({"user":"secret","other":"x"})");
    auto options = matrixOptions();
    options.databaseDir = folder.path().toStdString();
    options.extraArgs = {"--httpauth"};
    TorrServerStandin server(options);
    ASSERT_TRUE(server.start()) << server.error();
    EXPECT_EQ(send(server, {"POST", "/torrents", R"({"action":"list"})"}, kRight).status, 200);
    EXPECT_EQ(send(server, {"POST", "/torrents", R"({"action":"list"})"}, kWrong).status, 401);
    EXPECT_EQ(send(server, {"GET", "/stream?link=" + kHash + "&stat", ""}, "").status, 401);
}
