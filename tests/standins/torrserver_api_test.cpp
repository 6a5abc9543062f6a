// The stand-in TorrServer's API answers: shapes, member order, errors, persistence, HTTP/1.0.
#include "standin_fixture.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <thread>

using nlohmann::ordered_json;
using qb::testing::torrServerOptions;
using qb::testing::TorrServerStandin;

namespace {
const std::string kHash = "dd8255ecdc7ca55fb0bbf81323d87062db1f6d1c";
const std::string kMagnet =
    "magnet:?xt=urn:btih:" + kHash + "&dn=Big+Buck+Bunny&tr=udp%3A%2F%2Fexplodie.org%3A6969";

struct Answer {
    int status = 0;
    std::string body;
    std::string contentType;
    std::string cors;
};

Answer post(TorrServerStandin& server, const std::string& path, const std::string& body) {
    const auto result = server.client().Post(path, body, "text/plain");
    if (!result) {
        return {};
    }
    return {result->status, result->body, result->get_header_value("Content-Type"),
            result->get_header_value("Access-Control-Allow-Origin")};
}

ordered_json list(TorrServerStandin& server) {
    return ordered_json::parse(post(server, "/torrent/list", "").body, nullptr, false);
}

std::vector<std::string> keysOf(const ordered_json& object) {
    std::vector<std::string> keys;
    for (const auto& [key, value] : object.items()) {
        keys.push_back(key);
    }
    return keys;
}

// Polls the list until `predicate` holds for it, for at most ten seconds.
template <class Predicate>
ordered_json waitForList(TorrServerStandin& server, Predicate predicate) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    ordered_json answer = list(server);
    while (!predicate(answer) && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        answer = list(server);
    }
    return answer;
}

class TorrServerApi : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(server_.start()) << server_.error(); }
    TorrServerStandin server_{torrServerOptions(300)};
};
} // namespace

TEST_F(TorrServerApi, MagnetShowsGettingInfoUntilItsMetadataArrivesThenIsSaved) {
    const std::string body =
        R"({"link": ")" + kMagnet + R"(","Info":"{\"poster_path\":\"http://x/p.jpg?a=1&b=<2>\"}"})";
    const Answer added = post(server_, "/torrent/add", body);
    EXPECT_EQ(added.status, 200);
    EXPECT_EQ(added.body, kHash);
    EXPECT_EQ(added.contentType, "text/plain; charset=UTF-8");

    // Loaded, not saved yet: the entry of a torrent held in memory, with its real status.
    const Answer early = post(server_, "/torrent/list", "");
    EXPECT_EQ(early.contentType, "application/json; charset=UTF-8");
    EXPECT_NE(early.body.find(R"(p.jpg?a=1\u0026b=\u003c2\u003e)"), std::string::npos);
    const ordered_json before = ordered_json::parse(early.body);
    ASSERT_EQ(before.size(), 1u);
    EXPECT_EQ(keysOf(before[0]),
              (std::vector<std::string>{"Name", "Magnet", "Hash", "AddTime", "Length", "Status",
                                        "Playlist", "Info"}));
    EXPECT_EQ(before[0]["Name"], "Big Buck Bunny");
    EXPECT_EQ(before[0]["Status"], 1);
    EXPECT_EQ(before[0]["Length"], 0);
    EXPECT_EQ(before[0]["Info"], R"({"poster_path":"http://x/p.jpg?a=1&b=<2>"})");
    // 1.1.77's playlist address: the magnet without trackers, no file name.
    EXPECT_EQ(before[0]["Playlist"], "/torrent/play?link=magnet%3A%3Fxt%3Durn%3Abtih%3A" + kHash +
                                         "%26dn%3DBig%2BBuck%2BBunny&m3u=true");

    // Saved once the metadata is there: a saved torrent always shows Status 0.
    const ordered_json after =
        waitForList(server_, [](const ordered_json& l) { return l[0].contains("Files"); });
    ASSERT_TRUE(after[0].contains("Files"));
    EXPECT_EQ(after[0]["Status"], 0);
    EXPECT_EQ(after[0]["Magnet"], kMagnet);
    std::int64_t total = 0;
    for (const ordered_json& file : after[0]["Files"]) {
        EXPECT_EQ(keysOf(file),
                  (std::vector<std::string>{"Name", "Link", "Play", "Preload", "Size", "Viewed"}));
        const std::string name = file["Name"];
        std::string cleaned = name;
        std::replace(cleaned.begin(), cleaned.end(), ' ', '_');
        std::replace(cleaned.begin(), cleaned.end(), '/', '_');
        EXPECT_EQ(file["Link"], "/torrent/view/" + kHash + "/" + cleaned);
        EXPECT_EQ(file["Viewed"], false);
        total += file["Size"].get<std::int64_t>();
    }
    EXPECT_EQ(after[0]["Length"], total);
    EXPECT_GT(total, 0);
}

TEST_F(TorrServerApi, AddRefusesBadBodies) {
    struct Case {
        std::string body;
        std::string message; // "" when only the status matters
    };
    const Case cases[] = {
        {"", "EOF"},
        {"  \r\n", "EOF"},
        {R"({"link": ""})", "Link must be non-empty"},
        {"null", "Link must be non-empty"},
        {R"({"Link": 5})", ""},
        {R"({"link": "magnet:?xt=urn:btih:zz"})", ""},
        {R"({"link": "ftp://host/x.torrent"})", ""},
        {R"({"link": ")" + kMagnet + R"(", "Info": {"id": 1}})", ""},
        {R"({"link": ")", ""},
        {"[1,2]", ""},
    };
    for (const Case& c : cases) {
        const Answer answer = post(server_, "/torrent/add", c.body);
        EXPECT_EQ(answer.status, 400) << c.body;
        EXPECT_EQ(answer.contentType, "application/json; charset=UTF-8") << c.body;
        const ordered_json message = ordered_json::parse(answer.body, nullptr, false);
        ASSERT_TRUE(message.is_object() && message["message"].is_string()) << answer.body;
        if (!c.message.empty()) {
            EXPECT_EQ(message["message"], c.message);
        }
    }
    EXPECT_TRUE(list(server_).empty());
}

TEST(TorrServerApiInfo, BodyMembersMatchWithoutLetterCaseAndALaterAddMergesInfo) {
    // 1.1.77 answers a second add of a loaded torrent at once and keeps its first Info; up to
    // 1.1.76 the second add merges its keys in.
    struct Case {
        std::string version;
        std::string info;
    };
    for (const Case& c : {Case{"1.1.76", R"({"a":3,"b":2})"}, Case{"1.1.77", R"({"a":1})"}}) {
        auto options = torrServerOptions(0);
        options.version = c.version;
        TorrServerStandin server(options);
        ASSERT_TRUE(server.start()) << server.error();
        EXPECT_EQ(
            post(server, "/torrent/add", R"({"LINK":")" + kHash + R"(","iNfO":"{\"a\":1}"})").body,
            kHash);
        EXPECT_EQ(post(server, "/torrent/add",
                       R"({"link":")" + kMagnet + R"(","Info":"{\"b\":2,\"a\":3}"} trailing)")
                      .status,
                  200);
        const ordered_json entries = list(server);
        ASSERT_EQ(entries.size(), 1u) << c.version;
        EXPECT_EQ(ordered_json::parse(entries[0]["Info"].get<std::string>()),
                  ordered_json::parse(c.info))
            << c.version;
    }
}

TEST_F(TorrServerApi, UploadsRealTorrentFiles) {
    QTemporaryDir folder;
    const std::string torrent =
        TorrServerStandin::makeTorrentFile(folder.path().toStdString(), "Small Movie.mkv", 100000);
    ASSERT_FALSE(torrent.empty()) << "mktorrent failed";
    const std::string hash = server_.addTorrentFile(torrent);
    ASSERT_EQ(hash.size(), 40u);

    const ordered_json entries = list(server_);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0]["Hash"], hash);
    EXPECT_EQ(entries[0]["Name"], "Small Movie.mkv");
    EXPECT_EQ(entries[0]["Length"], 100000);
    ASSERT_EQ(entries[0]["Files"].size(), 1u);
    EXPECT_EQ(entries[0]["Files"][0]["Name"], "Small Movie.mkv");
    EXPECT_EQ(entries[0]["Files"][0]["Link"], "/torrent/view/" + hash + "/Small_Movie.mkv");
    EXPECT_NE(
        entries[0]["Magnet"].get<std::string>().find("tr=http%3A%2F%2Ftracker.example%2Fannounce"),
        std::string::npos);

    // Any field name; not multipart, or not a torrent: 400 and nothing added.
    const httplib::MultipartFormDataItems other = {{"whatever", "d4:spam4:eggse", "x.torrent", ""}};
    const auto refused = server_.client().Post("/torrent/upload", other);
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->status, 400);
    EXPECT_EQ(post(server_, "/torrent/upload", "plain").status, 400);
    EXPECT_EQ(list(server_).size(), 1u);
}

TEST_F(TorrServerApi, RemoveAndStatValidateTheHash) {
    ASSERT_EQ(server_.addMagnet(kMagnet), kHash);
    struct Case {
        std::string path;
        std::string body;
        int status;
        std::string answer;
    };
    const std::string other = std::string(40, 'a');
    const Case cases[] = {
        {"/torrent/rem", R"({"hash": ""})", 400, R"({"message":"Hash must be non-empty"})"},
        {"/torrent/rem", R"({"hash": "xyz"})", 500, R"({"message":"Internal Server Error"})"},
        {"/torrent/rem", R"({"hash": ")" + other + R"("})", 200, "null"},
        {"/torrent/stat", R"({"Hash": ")" + other + R"("})", 404, R"({"message":"Not Found"})"},
        {"/torrent/stat", R"({"Hash": ""})", 400, R"({"message":"Hash must be non-empty"})"},
        {"/torrent/stat", "", 400, R"({"message":"EOF"})"},
    };
    for (const Case& c : cases) {
        const Answer answer = post(server_, c.path, c.body);
        EXPECT_EQ(answer.status, c.status) << c.path << " " << c.body;
        EXPECT_EQ(answer.body, c.answer) << c.path << " " << c.body;
    }
    EXPECT_EQ(list(server_).size(), 1u);
    EXPECT_EQ(post(server_, "/torrent/rem", R"({"hash": ")" + kHash + R"("})").body, "null");
    EXPECT_TRUE(list(server_).empty());
}

TEST_F(TorrServerApi, RoutesMethodsAndHeaders) {
    const auto echo = server_.client().Get("/echo");
    ASSERT_TRUE(echo);
    EXPECT_EQ(echo->body, "1.1.77");
    EXPECT_EQ(echo->get_header_value("Access-Control-Allow-Origin"), "*");

    const auto wrongMethod = server_.client().Get("/torrent/list");
    ASSERT_TRUE(wrongMethod);
    EXPECT_EQ(wrongMethod->status, 405);
    EXPECT_EQ(wrongMethod->body, R"({"message":"Method Not Allowed"})");

    const Answer unknown = post(server_, "/torrent/nothing", "");
    EXPECT_EQ(unknown.status, 404);
    EXPECT_EQ(unknown.body, R"({"message":"Not Found"})");
    EXPECT_EQ(unknown.cors, "*");

    for (const char* page : {"/", "/settings", "/stat", "/cache"}) {
        const auto answer = server_.client().Get(page);
        ASSERT_TRUE(answer) << page;
        EXPECT_EQ(answer->status, 200) << page;
        EXPECT_EQ(answer->get_header_value("Content-Type"), "text/html; charset=utf-8");
        EXPECT_NE(answer->body.find("<html>"), std::string::npos);
    }
}

TEST_F(TorrServerApi, OrdersNewestFirstThenByName) {
    ASSERT_FALSE(
        server_.addMagnet("magnet:?xt=urn:btih:" + std::string(40, '1') + "&dn=Zeta").empty());
    // Wait for the clock's next second, so the later adds are newer.
    const auto second = [] { return std::time(nullptr); };
    const std::time_t first = second();
    while (second() == first) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    for (const char* name : {"Beta", "Alpha"}) {
        ASSERT_FALSE(server_
                         .addMagnet("magnet:?xt=urn:btih:" +
                                    std::string(40, name[0] == 'B' ? '2' : '3') + "&dn=" + name)
                         .empty());
    }
    // Ordered once all three are saved (the database's time is when the metadata came).
    const ordered_json entries = waitForList(server_, [](const ordered_json& l) {
        return l.size() == 3 && l[0].contains("Files") && l[1].contains("Files") &&
               l[2].contains("Files");
    });
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[2]["Name"], "Zeta");
    if (entries[0]["AddTime"] == entries[1]["AddTime"]) {
        EXPECT_EQ(entries[0]["Name"], "Alpha");
    } else {
        EXPECT_GT(entries[0]["AddTime"], entries[1]["AddTime"]);
    }
}

TEST_F(TorrServerApi, SavedTorrentsSurviveARestart) {
    ASSERT_EQ(
        post(server_, "/torrent/add", R"({"link":")" + kMagnet + R"(","Info":"{\"x\":1}"})").status,
        200);
    ASSERT_EQ(post(server_, "/torrent/add",
                   R"({"link":")" + std::string(40, 'b') + R"(","DontSave":true})")
                  .status,
              200);
    const ordered_json before = waitForList(server_, [](const ordered_json& l) {
        return l.size() == 2 && l[0].contains("Files") && l[1].contains("Files");
    });
    ASSERT_TRUE(server_.restart()) << server_.error();

    const ordered_json after = list(server_);
    ASSERT_EQ(after.size(), 1u);
    const ordered_json& saved = before[0]["Hash"] == kHash ? before[0] : before[1];
    EXPECT_EQ(after[0]["Status"], 0);
    EXPECT_EQ(after[0]["Info"], R"({"x":1})");
    EXPECT_EQ(after[0]["Files"], saved["Files"]);
    EXPECT_EQ(after[0]["AddTime"], saved["AddTime"]);
    EXPECT_EQ(post(server_, "/torrent/stat", R"({"Hash": ")" + kHash + R"("})").status, 404);
}

TEST_F(TorrServerApi, AnswersHttp10Posts) {
    ASSERT_EQ(server_.addMagnet(kMagnet), kHash);
    server_.clearRequests();
    const std::string statBody = "{\"Hash\": \"" + kHash + "\"}";
    const std::string requests[] = {
        "POST /torrent/list HTTP/1.0\r\nHost: 127.0.0.1\r\nConnection: keep-alive\r\n"
        "Content-Length: 0\r\n\r\n",
        "POST /torrent/list HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n",
        "POST /torrent/stat HTTP/1.0\r\nContent-Length: " + std::to_string(statBody.size()) +
            "\r\n\r\n" + statBody,
    };
    for (const std::string& request : requests) {
        // An HTTP/1.0 answer ends by closing the connection, which rawExchange waits for.
        const std::string answer = server_.rawExchange(request);
        EXPECT_EQ(answer.rfind("HTTP/1.0 200 OK\r\n", 0), 0u) << answer;
        EXPECT_NE(answer.find(kHash), std::string::npos) << answer;
    }
    const nlohmann::json log = server_.requests();
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[0]["method"], "POST");
    EXPECT_EQ(log[0]["version"], "HTTP/1.0");
    EXPECT_EQ(log[0]["headers"][1], nlohmann::json::array({"Connection", "keep-alive"}));
    EXPECT_EQ(log[2]["body"], statBody);
}
