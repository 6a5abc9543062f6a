// The stand-in's today's API (--api matrix): routes, /torrents, status objects, saving.
#include "torrserver_test_support.h"

#include <gtest/gtest.h>

using nlohmann::ordered_json;
using namespace qb::testing;

namespace {
const std::string kHash = "dd8255ecdc7ca55fb0bbf81323d87062db1f6d1c";
const std::string kMagnet = "magnet:?xt=urn:btih:" + kHash + "&dn=Big+Buck+Bunny";

Answer torrents(TorrServerStandin& server, const ordered_json& body) {
    return postTo(server, "/torrents", body.dump());
}

ordered_json listOf(TorrServerStandin& server) {
    return ordered_json::parse(torrents(server, {{"action", "list"}}).body, nullptr, false);
}

ordered_json entryOf(const ordered_json& list, const std::string& hash) {
    for (const ordered_json& entry : list) {
        if (entry.value("hash", "") == hash) {
            return entry;
        }
    }
    return nullptr;
}

std::vector<std::string> keysOf(const ordered_json& object) {
    std::vector<std::string> keys;
    for (const auto& [key, value] : object.items()) {
        keys.push_back(key);
    }
    return keys;
}

class MatrixApi : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(server_.start()) << server_.error(); }
    TorrServerStandin server_{matrixOptions(300)};
};
} // namespace

TEST_F(MatrixApi, RetiredAndUnknownRoutesAnswerGinsPlain404) {
    struct Case {
        std::string method;
        std::string path;
    };
    const Case cases[] = {
        {"POST", "/torrent/add"},
        {"POST", "/torrent/list"},
        {"POST", "/torrent/stat"},
        {"POST", "/torrent/rem"},
        {"POST", "/torrent/get"},
        {"GET", "/torrent/play?link=" + kHash},
        {"GET", "/torrent/play/x.mkv"},
        {"GET", "/torrent/view/" + kHash + "/x.mkv"},
        {"GET", "/torrent/preload/" + kHash + "/x.mkv"},
        {"GET", "/torrent/playlist.m3u"},
        {"GET", "/settings"},
        {"GET", "/cache"},
        {"POST", "/echo"},
        {"GET", "/torrents"},
        {"GET", "/torrent/upload"},
        {"GET", "/nothing"},
        {"DELETE", "/torrents"},
    };
    for (const Case& c : cases) {
        httplib::Request request;
        request.method = c.method;
        request.path = c.path;
        const Answer answer = answerOf(server_.client().send(request));
        EXPECT_EQ(answer.status, 404) << c.method << " " << c.path;
        EXPECT_EQ(answer.body, "404 page not found") << c.method << " " << c.path;
        EXPECT_EQ(answer.header("Content-Type"), "text/plain") << c.method << " " << c.path;
    }
    const auto head = server_.client().Head("/echo");
    ASSERT_TRUE(head);
    EXPECT_EQ(head->status, 404);
    // The one route of 1.1 that today's server still has.
    const Answer upload = postTo(server_, "/torrent/upload", "not multipart");
    EXPECT_EQ(upload.status, 400);
    EXPECT_EQ(upload.body, "");
    const Answer echo = getFrom(server_, "/echo");
    EXPECT_EQ(echo.body, "MatriX.143");
    EXPECT_EQ(echo.header("Content-Type"), "text/plain; charset=utf-8");
    // No CORS header for a request without an Origin; any origin is allowed.
    EXPECT_EQ(echo.header("Access-Control-Allow-Origin"), "");
    EXPECT_EQ(getFrom(server_, "/echo", {{"Origin", "http://elsewhere"}})
                  .header("Access-Control-Allow-Origin"),
              "*");
}

TEST_F(MatrixApi, TorrentsErrorsHaveEmptyBodiesWithTheRealStatusCodes) {
    const std::string unknown(40, 'a');
    struct Case {
        std::string body;
        int status;
    };
    const Case cases[] = {
        {"", 400},
        {"{", 400},
        {"[1]", 400},
        {R"({"action": 5})", 400},
        {"{}", 400},
        {R"({"action":"nothing"})", 400},
        {R"({"action":"add"})", 400},
        {R"({"action":"add","link":"ftp://host/x.torrent"})", 400},
        {R"({"action":"add","link":"magnet:?xt=urn:btih:zz"})", 400},
        {R"({"action":"add","link":")" + kMagnet + R"(","save_to_db":"yes"})", 400},
        {R"({"action":"get"})", 400},
        {R"({"action":"get","hash":"xyz"})", 500},
        {R"({"action":"get","hash":")" + unknown + R"("})", 404},
        {R"({"action":"rem","hash":""})", 400},
        {R"({"action":"rem","hash":")" + unknown + R"("})", 200},
        {R"({"action":"drop","hash":")" + unknown + R"("})", 200},
        {R"({"action":"set","hash":")" + unknown + R"("})", 200},
        {R"({"action":"wipe"})", 200},
    };
    for (const Case& c : cases) {
        const Answer answer = postTo(server_, "/torrents", c.body);
        EXPECT_EQ(answer.status, c.status) << c.body;
        EXPECT_EQ(answer.body, "") << c.body;
    }
    // Member names match without regard to letter case; what follows the value is not read.
    const Answer list = postTo(server_, "/torrents", R"({"ACTION":"list"} trailing)");
    EXPECT_EQ(list.status, 200);
    EXPECT_EQ(list.body, "[]");
    EXPECT_EQ(list.header("Content-Type"), "application/json; charset=utf-8");
}

TEST_F(MatrixApi, StatusObjectsLeaveOutTheirEmptyMembers) {
    const Answer added = torrents(server_, {{"action", "add"}, {"link", kMagnet}});
    ASSERT_EQ(added.status, 200);
    const ordered_json early = ordered_json::parse(added.body);
    EXPECT_EQ(keysOf(early), (std::vector<std::string>{"title", "category", "poster", "timestamp",
                                                       "name", "hash", "stat", "stat_string"}));
    EXPECT_EQ(early["name"], "Big Buck Bunny");
    EXPECT_EQ(early["stat"], 1);
    EXPECT_EQ(early["stat_string"], "Torrent getting info");

    ordered_json later;
    ASSERT_TRUE(eventually([&] {
        later = ordered_json::parse(torrents(server_, {{"action", "get"}, {"hash", kHash}}).body);
        return later["stat"] == 3;
    }));
    EXPECT_EQ(keysOf(later),
              (std::vector<std::string>{"title", "category", "poster", "timestamp", "name", "hash",
                                        "torrs_hash", "stat", "stat_string", "torrent_size",
                                        "file_stats"}));
    // A title the add left empty is the link's name once the metadata is there.
    EXPECT_EQ(later["title"], "Big Buck Bunny");
    EXPECT_EQ(later["stat_string"], "Torrent working");
    ASSERT_EQ(later["file_stats"].size(), 4u);
    EXPECT_EQ(later["file_stats"][0]["id"], 1);
    EXPECT_EQ(later["file_stats"][0]["path"], "Big Buck Bunny/Big Buck Bunny E01.mkv");
    EXPECT_EQ(later["file_stats"][3]["id"], 4);
    EXPECT_EQ(later["file_stats"][3]["path"], "Big Buck Bunny/Big Buck Bunny.srt");
}

TEST_F(MatrixApi, SavedTorrentsShowStat5AfterARestart) {
    const std::string other = "magnet:?xt=urn:btih:" + std::string(40, 'b') + "&dn=Other";
    ASSERT_EQ(torrents(server_, {{"action", "add"},
                                 {"link", kMagnet},
                                 {"title", "Кролик"},
                                 {"poster", "http://img.example/p.jpg"},
                                 {"data", R"({"release":7})"},
                                 {"save_to_db", true}})
                  .status,
              200);
    // Without save_to_db the torrent is held in memory only.
    ASSERT_EQ(torrents(server_, {{"action", "add"}, {"link", other}}).status, 200);
    ordered_json before;
    ASSERT_TRUE(eventually([&] {
        before = listOf(server_);
        return before.size() == 2 && before[0]["stat"] == 3 && before[1]["stat"] == 3;
    }));
    ASSERT_TRUE(server_.restart()) << server_.error();

    const ordered_json after = listOf(server_);
    ASSERT_EQ(after.size(), 1u) << after.dump();
    const ordered_json expected = {{"title", "Кролик"},
                                   {"category", ""},
                                   {"poster", "http://img.example/p.jpg"},
                                   {"data", R"({"release":7})"},
                                   {"timestamp", entryOf(before, kHash)["timestamp"]},
                                   {"hash", kHash},
                                   {"stat", 5},
                                   {"stat_string", "Torrent in db"},
                                   {"torrent_size", entryOf(before, kHash)["torrent_size"]}};
    EXPECT_EQ(after[0], expected);
    // "get" answers the database's status and loads the torrent meanwhile.
    EXPECT_EQ(ordered_json::parse(torrents(server_, {{"action", "get"}, {"hash", kHash}}).body),
              expected);
    ASSERT_TRUE(eventually([&] { return listOf(server_)[0]["stat"] == 3; }));
    EXPECT_EQ(listOf(server_)[0]["title"], "Кролик");
}

TEST_F(MatrixApi, AddedByLinkIsSavedOnlyOnceItsMetadataArrived) {
    TorrServerStandin slow(matrixOptions(60000));
    ASSERT_TRUE(slow.start()) << slow.error();
    ASSERT_EQ(torrents(slow, {{"action", "add"}, {"link", kMagnet}, {"save_to_db", true}}).status,
              200);
    EXPECT_EQ(listOf(slow)[0]["stat"], 1);
    ASSERT_TRUE(slow.restart()) << slow.error();
    EXPECT_TRUE(listOf(slow).empty());
}

TEST_F(MatrixApi, StreamFlagsCountByPresence) {
    // "save=false" saves; a link without the flag does not.
    const std::string saved(40, 'c');
    const std::string unsaved(40, 'e');
    EXPECT_EQ(getFrom(server_, "/stream?link=" + saved + "&save=false").status, 200);
    EXPECT_EQ(getFrom(server_, "/stream?link=" + unsaved + "&stat=false").status, 200);
    ASSERT_TRUE(server_.restart()) << server_.error();
    const ordered_json after = listOf(server_);
    ASSERT_EQ(after.size(), 1u) << after.dump();
    EXPECT_EQ(after[0]["hash"], saved);
    EXPECT_EQ(after[0]["stat"], 5);
}

TEST_F(MatrixApi, UploadsSaveOnlyWithASaveField) {
    QTemporaryDir folder;
    const std::string dir = folder.path().toStdString();
    const std::string first = TorrServerStandin::makeTorrentFile(dir, "First.mkv", 50000);
    const std::string second = TorrServerStandin::makeTorrentFile(dir, "Second.mkv", 60000);
    ASSERT_FALSE(first.empty() || second.empty()) << "mktorrent failed";
    // One file: one status object; the torrent's name is its title.
    const httplib::MultipartFormDataItems saved = {
        {"file", readFile(first), "First.mkv.torrent", "application/x-bittorrent"},
        {"save", "false", "", ""},
        {"category", "movie", "", ""}};
    const Answer one = answerOf(server_.client().Post("/torrent/upload", saved));
    ASSERT_EQ(one.status, 200);
    const ordered_json status = ordered_json::parse(one.body);
    ASSERT_TRUE(status.is_object()) << one.body;
    EXPECT_EQ(status["title"], "First.mkv");
    EXPECT_EQ(status["category"], "movie");
    EXPECT_EQ(status["stat"], 3);
    // Two files without "save": an array, nothing saved; a file that is no torrent is skipped.
    const httplib::MultipartFormDataItems unsaved = {
        {"a", readFile(second), "Second.mkv.torrent", ""},
        {"b", "d4:spam4:eggse", "broken.torrent", ""},
        {"c", readFile(first), "First.mkv.torrent", ""}};
    const Answer two = answerOf(server_.client().Post("/torrent/upload", unsaved));
    ASSERT_EQ(two.status, 200);
    EXPECT_EQ(ordered_json::parse(two.body).size(), 2u) << two.body;
    EXPECT_EQ(listOf(server_).size(), 2u);
    ASSERT_TRUE(server_.restart()) << server_.error();
    const ordered_json after = listOf(server_);
    ASSERT_EQ(after.size(), 1u) << after.dump();
    EXPECT_EQ(after[0]["title"], "First.mkv");
    EXPECT_EQ(after[0]["stat"], 5);
}

TEST_F(MatrixApi, ListsNewestFirstThenByTitleDescendingAndTakesListFaults) {
    // Seeds with their own times: the database's order.
    ASSERT_TRUE(server_.control(
        {{"seed",
          {{{"link", std::string(40, '1')}, {"title", "B"}, {"timestamp", 100}, {"ready", true}},
           {{"link", std::string(40, '2')}, {"title", "A"}, {"timestamp", 300}, {"ready", true}},
           {{"link", std::string(40, '3')},
            {"title", "C"},
            {"timestamp", 300},
            {"ready", true}}}}}));
    const ordered_json list = listOf(server_);
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0]["title"], "C");
    EXPECT_EQ(list[1]["title"], "A");
    EXPECT_EQ(list[2]["title"], "B");
    ASSERT_TRUE(server_.setFaults({{"list", "malformed"}}));
    EXPECT_TRUE(ordered_json::parse(torrents(server_, {{"action", "list"}}).body, nullptr, false)
                    .is_discarded());
    ASSERT_TRUE(server_.setFaults({{"status", {{"path", "/torrents"}, {"code", 503}}}}));
    EXPECT_EQ(torrents(server_, {{"action", "list"}}).status, 503);
}

TEST_F(MatrixApi, ViewedMarksOfStreamedFiles) {
    ASSERT_EQ(server_.addMagnet(kMagnet), kHash);
    const Answer none = postTo(server_, "/viewed", R"({"action":"list"})");
    EXPECT_EQ(none.body, "null");
    EXPECT_EQ(postTo(server_, "/viewed", R"({"action":"list","hash":")" + kHash + R"("})").body,
              "[]");
    const Answer streamed =
        getFrom(server_, "/stream?link=" + kHash + "&index=2&play", {{"Range", "bytes=0-99"}});
    EXPECT_EQ(streamed.status, 206);
    EXPECT_EQ(postTo(server_, "/viewed", R"({"action":"list"})").body,
              R"([{"hash":")" + kHash + R"(","file_index":2,"timecode":0}])");
    EXPECT_EQ(postTo(server_, "/viewed",
                     R"({"action":"set","hash":")" + kHash + R"(","file_index":4,"timecode":12.5})")
                  .status,
              200);
    EXPECT_EQ(
        postTo(server_, "/viewed", R"({"action":"rem","hash":")" + kHash + R"(","file_index":2})")
            .status,
        200);
    EXPECT_EQ(postTo(server_, "/viewed", R"({"action":"list","hash":")" + kHash + R"("})").body,
              R"([{"hash":")" + kHash + R"(","file_index":4,"timecode":0}])");
    EXPECT_EQ(postTo(server_, "/viewed", R"({"action":"set"})").status, 400);
}
