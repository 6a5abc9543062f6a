// The stand-in's today's API (--api matrix) for playback: /stream preloads, m3u playlists as
// the server writes them, /play with ranges, unloading and the preload size of the settings.
#include "torrserver_test_support.h"

#include <future>
#include <gtest/gtest.h>

using nlohmann::json;
using namespace qb::testing;

namespace {
const std::string kHash = "dd8255ecdc7ca55fb0bbf81323d87062db1f6d1c";
const std::string kMagnet = "magnet:?xt=urn:btih:" + kHash + "&dn=Big+Buck+Bunny";
constexpr std::int64_t kPreloadSize = 32 * kMiB; // half of the 64 MB cache

json statusOf(TorrServerStandin& server, const std::string& hash) {
    const Answer answer =
        postTo(server, "/torrents", json{{"action", "get"}, {"hash", hash}}.dump());
    return answer.status == 200 ? json::parse(answer.body, nullptr, false) : json();
}

json listOf(TorrServerStandin& server) {
    return json::parse(postTo(server, "/torrents", R"({"action":"list"})").body, nullptr, false);
}

// A server streaming a "Show" torrent of the content folder, saved, whose subtitle sits between
// its videos: 1.mkv (id 1), 1.srt (2), 2.mkv (3), 10.mkv (4).
class MatrixShow : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = content_.path().toStdString();
        torrent_ = makeFolderTorrent(
            dir_, "Show", {{"1.mkv", 40000}, {"1.srt", 300}, {"2.mkv", 50000}, {"10.mkv", 30000}});
        ASSERT_FALSE(torrent_.empty()) << "mktorrent failed";
        auto options = matrixOptions(0, 64 * kMiB);
        options.contentDir = dir_;
        server_.emplace(options);
        ASSERT_TRUE(server_->start()) << server_->error();
        hash_ = server_->addTorrentFile(torrent_);
        ASSERT_EQ(hash_.size(), 40u);
        origin_ = "http://127.0.0.1:" + std::to_string(server_->port());
    }

    QTemporaryDir content_;
    std::string dir_;
    std::string torrent_;
    std::optional<TorrServerStandin> server_;
    std::string hash_;
    std::string origin_;
};
} // namespace

TEST(MatrixPlay, StreamPreloadBlocksUntilDoneAndThenLeavesThePreloadState) {
    TorrServerStandin server(matrixOptions(0, 16 * kMiB));
    ASSERT_TRUE(server.start()) << server.error();
    ASSERT_EQ(server.addMagnet(kMagnet), kHash);
    auto preload = std::async(std::launch::async, [&] {
        return answerOf(server.client().Get("/stream?link=" + kHash + "&index=1&preload"));
    });
    json first;
    ASSERT_TRUE(eventually([&] {
        first = statusOf(server, kHash);
        return first["stat"] == 2 && first.value("preloaded_bytes", 0) > 0;
    }));
    EXPECT_EQ(first["stat_string"], "Torrent preload");
    EXPECT_EQ(first["preload_size"], kPreloadSize);
    EXPECT_TRUE(first["download_speed"].is_number_float());
    EXPECT_GT(first["connected_seeders"], 0);
    json later;
    ASSERT_TRUE(eventually([&] {
        later = statusOf(server, kHash);
        return later.value("preloaded_bytes", 0) > first["preloaded_bytes"];
    }));
    if (later["stat"] == 2) {
        EXPECT_EQ(preload.wait_for(std::chrono::seconds(0)), std::future_status::timeout)
            << "the preload answered while the torrent was still preloading";
    }
    const Answer answer = preload.get();
    EXPECT_EQ(answer.status, 200);
    EXPECT_EQ(answer.body, "");
    // Done: the preloaded bytes reached the size and the torrent left the preload state.
    const json done = statusOf(server, kHash);
    EXPECT_EQ(done["stat"], 3);
    EXPECT_GE(done["preloaded_bytes"], kPreloadSize);
}

TEST(MatrixPlay, ASecondPreloadDoesNotWaitForTheFirst) {
    TorrServerStandin server(matrixOptions(0, 4 * kMiB));
    ASSERT_TRUE(server.start()) << server.error();
    ASSERT_EQ(server.addMagnet(kMagnet), kHash);
    auto first = std::async(std::launch::async, [&] {
        return answerOf(server.client().Get("/stream?link=" + kHash + "&index=1&preload"));
    });
    ASSERT_TRUE(eventually([&] { return statusOf(server, kHash)["stat"] == 2; }));
    const Answer second = getFrom(server, "/stream?link=" + kHash + "&index=2&preload&stat");
    EXPECT_EQ(second.status, 200);
    EXPECT_EQ(json::parse(second.body)["stat"], 2);
    // The first goes on; the test does not wait 8 s for it.
    EXPECT_EQ(first.wait_for(std::chrono::seconds(0)), std::future_status::timeout);
    server.stop();
}

TEST(MatrixPlay, SettingsGiveThePreloadSize) {
    TorrServerStandin server(matrixOptions(0, 512 * kMiB));
    ASSERT_TRUE(server.start()) << server.error();
    const json settings =
        json::parse(postTo(server, "/settings", R"({"action":"get"})").body, nullptr, false);
    EXPECT_EQ(settings["CacheSize"], 64 * kMiB);
    EXPECT_EQ(settings["PreloadCache"], 50);
    EXPECT_EQ(settings["TorrentDisconnectTimeout"], 30);
    json changed = settings;
    changed["PreloadCache"] = 10;
    ASSERT_EQ(postTo(server, "/settings", json{{"action", "set"}, {"sets", changed}}.dump()).status,
              200);
    ASSERT_EQ(server.addMagnet(kMagnet), kHash);
    ASSERT_EQ(getFrom(server, "/stream?link=" + kHash + "&index=1&preload").status, 200);
    // float32(64 MB) / 100 * 10, cut to whole bytes.
    EXPECT_EQ(statusOf(server, kHash)["preload_size"], 6710886);
    EXPECT_EQ(postTo(server, "/settings", R"({"action":"nothing"})").status, 400);
    EXPECT_EQ(postTo(server, "/settings", R"({"action":"set"})").status, 500);
}

TEST_F(MatrixShow, APreloadOfASmallFileEndsBelowThePreloadSize) {
    ASSERT_EQ(getFrom(*server_, "/stream?link=" + hash_ + "&index=1&preload").status, 200);
    const json status = statusOf(*server_, hash_);
    EXPECT_EQ(status["stat"], 3);
    EXPECT_EQ(status["preload_size"], kPreloadSize);
    EXPECT_GE(status["preloaded_bytes"], 40000);
    EXPECT_LT(status["preloaded_bytes"], kPreloadSize);
}

TEST_F(MatrixShow, PlaylistsUseFileIdsNotRowPositions) {
    const std::string link = "?link=" + hash_ + "&index=";
    const std::string expected =
        "#EXTM3U\n#EXTINF:0,1.mkv\n#EXTVLCOPT:input-slave=" + origin_ + "/stream/1.srt" + link +
        "2&play#" + origin_ + "/stream/10.mkv" + link + "4&play#\n" + origin_ + "/stream/1.mkv" +
        link + "1&play\n#EXTINF:0,2.mkv\n" + origin_ + "/stream/2.mkv" + link +
        "3&play\n#EXTINF:0,10.mkv\n" + origin_ + "/stream/10.mkv" + link + "4&play\n";
    struct Case {
        std::string path;
        std::string fileName;
    };
    const Case cases[] = {
        {"/playlist?hash=" + hash_, "Show.m3u"},
        {"/playlist/list?hash=" + hash_, "list.m3u"},
        {"/stream/Show.m3u?link=" + hash_ + "&m3u", "Show.m3u"},
        {"/stream?link=" + hash_ + "&m3u", "Show.m3u"},
        {"/stream/x.M3U8?link=" + hash_ + "&m3u", "x.M3U8"},
    };
    for (const Case& c : cases) {
        const Answer answer = getFrom(*server_, c.path);
        EXPECT_EQ(answer.status, 200) << c.path;
        EXPECT_EQ(answer.body, expected) << c.path;
        EXPECT_EQ(answer.header("Content-Type"), "audio/x-mpegurl");
        EXPECT_EQ(answer.header("Content-Disposition"),
                  "attachment; filename=\"" + c.fileName + "\"")
            << c.path;
    }
    // From the file with id 3 on.
    EXPECT_EQ(getFrom(*server_, "/playlist?hash=" + hash_ + "&index=3").body,
              "#EXTM3U\n#EXTINF:0,2.mkv\n" + origin_ + "/stream/2.mkv" + link +
                  "3&play\n#EXTINF:0,10.mkv\n" + origin_ + "/stream/10.mkv" + link + "4&play\n");
    EXPECT_EQ(getFrom(*server_, "/playlist").status, 400);
    EXPECT_EQ(getFrom(*server_, "/playlist?hash=" + std::string(40, 'a')).status, 404);
}

TEST_F(MatrixShow, PlayServesTheFileOfAnIdWithRanges) {
    const std::string bytes = readFile(dir_ + "/Show/2.mkv");
    ASSERT_EQ(bytes.size(), 50000u);
    struct Case {
        std::string path;
        std::string range;
        int status;
        std::size_t first;
        std::size_t length;
    };
    const Case cases[] = {
        {"/play/" + hash_ + "/3", "", 200, 0, 50000},
        {"/play/" + hash_ + "/3", "bytes=100-199", 206, 100, 100},
        {"/play/" + hash_ + "/3", "bytes=-10", 206, 49990, 10},
        {"/stream/2.mkv?link=" + hash_ + "&index=3&play", "bytes=49000-", 206, 49000, 1000},
    };
    for (const Case& c : cases) {
        httplib::Headers headers;
        if (!c.range.empty()) {
            headers.emplace("Range", c.range);
        }
        const Answer answer = getFrom(*server_, c.path, headers);
        EXPECT_EQ(answer.status, c.status) << c.path << " " << c.range;
        EXPECT_TRUE(answer.body == bytes.substr(c.first, c.length)) << c.path << " " << c.range;
        EXPECT_EQ(answer.header("Content-Type"), "video/x-matroska");
        EXPECT_EQ(answer.header("Accept-Ranges"), "bytes");
    }
    const Answer past = getFrom(*server_, "/play/" + hash_ + "/3", {{"Range", "bytes=50000-"}});
    EXPECT_EQ(past.status, 416);
    EXPECT_EQ(past.header("Content-Range"), "bytes */50000");
    const auto head = server_->client().Head("/play/" + hash_ + "/3");
    ASSERT_TRUE(head);
    EXPECT_EQ(head->status, 200);
    EXPECT_EQ(head->get_header_value("Content-Length"), "50000");
    EXPECT_TRUE(head->body.empty());
    // An id the torrent does not have: the server writes nothing (200, empty); no number: 400.
    const Answer unknown = getFrom(*server_, "/play/" + hash_ + "/9");
    EXPECT_EQ(unknown.status, 200);
    EXPECT_EQ(unknown.body, "");
    EXPECT_EQ(getFrom(*server_, "/play/" + hash_ + "/x").status, 400);
    EXPECT_EQ(getFrom(*server_, "/stream?link=" + hash_ + "&play").status, 400);
}

TEST(MatrixPlay, PlaylistOfAllTorrents) {
    TorrServerStandin server(matrixOptions());
    ASSERT_TRUE(server.start()) << server.error();
    ASSERT_TRUE(server.control({{"seed",
                                 {{{"link", std::string(40, '1')},
                                   {"title", "Первый фильм"},
                                   {"timestamp", 200},
                                   {"poster", "http://img.example/1.jpg"},
                                   {"category", "movie"},
                                   {"ready", true}},
                                  {{"link", std::string(40, '2')},
                                   {"title", "Second"},
                                   {"timestamp", 100},
                                   {"ready", true}}}}}));
    const std::string origin = "http://127.0.0.1:" + std::to_string(server.port());
    const Answer all = getFrom(server, "/playlistall/all.m3u");
    EXPECT_EQ(all.header("Content-Disposition"), "attachment; filename=\"all.m3u\"");
    EXPECT_EQ(all.body,
              "#EXTM3U\n#EXTINF:0 tvg-logo=\"http://img.example/1.jpg\" type=\"playlist\","
              "Первый фильм\n" +
                  origin +
                  "/stream/%D0%9F%D0%B5%D1%80%D0%B2%D1%8B%D0%B9%20%D1%84%D0%B8%D0%BB%D1%8C"
                  "%D0%BC.m3u?link=" +
                  std::string(40, '1') + "&m3u&fn=file.m3u\n#EXTINF:0 type=\"playlist\",Second\n" +
                  origin + "/stream/Second.m3u?link=" + std::string(40, '2') +
                  "&m3u&fn=file.m3u\n");
    EXPECT_EQ(getFrom(server, "/playlistall/all.m3u?category=uncategorized").body,
              "#EXTM3U\n#EXTINF:0 type=\"playlist\",Second\n" + origin +
                  "/stream/Second.m3u?link=" + std::string(40, '2') + "&m3u&fn=file.m3u\n");
}

TEST(MatrixPlay, IdleTorrentsAreUnloadedToTheDatabase) {
    auto options = matrixOptions();
    options.unloadAfterMs = 400;
    TorrServerStandin server(options);
    ASSERT_TRUE(server.start()) << server.error();
    ASSERT_EQ(server.addMagnet(kMagnet), kHash);
    const std::string other(40, 'b');
    ASSERT_EQ(postTo(server, "/torrents", json{{"action", "add"}, {"link", other}}.dump()).status,
              200);
    // Unloaded: the saved torrent shows as in the database, the other one is gone.
    ASSERT_TRUE(eventually([&] {
        const json list = listOf(server);
        return list.size() == 1 && list[0]["stat"] == 5;
    }));
    const json entry = listOf(server)[0];
    EXPECT_EQ(entry["hash"], kHash);
    EXPECT_FALSE(entry.contains("name"));
    EXPECT_FALSE(entry.contains("file_stats"));
}
