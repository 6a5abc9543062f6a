// The stand-in TorrServer's playback side: preload, stat progress, streams with Range, m3u.
#include "torrserver_test_support.h"

#include <future>
#include <gtest/gtest.h>

using nlohmann::json;
using namespace qb::testing;

namespace {
const std::string kHash = "dd8255ecdc7ca55fb0bbf81323d87062db1f6d1c";
// The first byte of this hash is odd: three episodes and an .srt are made up for it.
const std::string kMagnet = "magnet:?xt=urn:btih:" + kHash + "&dn=Big+Buck+Bunny";

} // namespace

TEST(TorrServerPlay, PreloadBlocksWhileStatRisesThenRedirects) {
    TorrServerStandin server(torrServerOptions(0, 10 * kMiB));
    ASSERT_TRUE(server.start()) << server.error();
    ASSERT_EQ(server.addMagnet(kMagnet), kHash);
    // The client's preload address: the decoded playlist address, as it sends it.
    const std::string path = "/torrent/play?link=magnet:?xt=urn:btih:" + kHash +
                             "&dn=Big+Buck+Bunny&file=0&preload=true&fname=Big_Buck_Bunny.m3u";
    auto preload = std::async(std::launch::async, [&] { return server.client().Get(path); });

    json first;
    ASSERT_TRUE(eventually([&] {
        first = statOf(server, kHash);
        return first.is_object() && first["TorrentStatus"] == 2 && first["PreloadedBytes"] > 0;
    }));
    EXPECT_EQ(first["PreloadSize"], 20 * kMiB);
    EXPECT_EQ(first["TorrentStatusString"], "Torrent preload");
    EXPECT_TRUE(first["DownloadSpeed"].is_number_float());
    EXPECT_GT(first["ConnectedSeeders"], 0);
    EXPECT_GT(first["ActivePeers"], 0);
    json later;
    ASSERT_TRUE(eventually([&] {
        later = statOf(server, kHash);
        return later["PreloadedBytes"] > first["PreloadedBytes"];
    }));
    EXPECT_EQ(preload.wait_for(std::chrono::seconds(0)), std::future_status::timeout)
        << "the preload answered before it had finished";

    const auto answer = preload.get();
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->status, 302);
    // The redirect is absolute, made of the request's Host.
    EXPECT_EQ(answer->get_header_value("Location"),
              "http://127.0.0.1:" + std::to_string(server.port()) + "/torrent/view/" + kHash +
                  "/Big_Buck_Bunny_Big_Buck_Bunny_E01.mkv");
    EXPECT_GE(statOf(server, kHash)["PreloadedBytes"], 20 * kMiB);
    // The client waits for PreloadedBytes to pass PreloadSize: the read-ahead makes it so.
    EXPECT_TRUE(eventually([&] { return statOf(server, kHash)["PreloadedBytes"] > 20 * kMiB; }));
}

TEST(TorrServerPlay, PreloadPathAndItsErrors) {
    TorrServerStandin server(torrServerOptions(0, 200 * kMiB));
    ASSERT_TRUE(server.start()) << server.error();
    ASSERT_EQ(server.addMagnet(kMagnet), kHash);
    struct Case {
        std::string path;
        int status;
    };
    // The server drops the preload route's errors: an unknown file or torrent answers 200 too;
    // only a hash that is not 40 hex digits fails (its decoding panics: 500).
    const Case cases[] = {
        {"/torrent/preload/" + kHash + "/Big_Buck_Bunny_Big_Buck_Bunny.srt", 200},
        {"/torrent/preload/" + kHash + "/nothing.mkv", 200},
        {"/torrent/preload/" + std::string(40, 'e') + "/x.mkv", 200},
        {"/torrent/preload/30/" + kHash + "/Big_Buck_Bunny_Big_Buck_Bunny.srt", 200},
        {"/torrent/preload/12345/x.mkv", 500},
        {"/torrent/play?link=" + kHash + "&file=7&preload=true", 400},
        {"/torrent/play?link=", 400},
    };
    for (const Case& c : cases) {
        const auto answer = server.client().Get(c.path);
        ASSERT_TRUE(answer) << c.path;
        EXPECT_EQ(answer->status, c.status) << c.path << " " << answer->body;
        if (c.status == 200) {
            EXPECT_TRUE(answer->body.empty());
        }
    }
}

TEST(TorrServerPlay, APreloadGoesOnWhenItsClientLeaves) {
    TorrServerStandin server(torrServerOptions(0, 8 * kMiB));
    ASSERT_TRUE(server.start()) << server.error();
    ASSERT_EQ(server.addMagnet(kMagnet), kHash);
    // Sends the request and closes the connection once the preload shows, without waiting.
    std::thread client([&] {
        server.rawExchange("GET /torrent/play?link=" + kHash +
                               "&file=0&preload=true HTTP/1.1\r\nHost: x\r\n\r\n",
                           std::chrono::milliseconds(600));
    });
    ASSERT_TRUE(eventually([&] { return statOf(server, kHash)["TorrentStatus"] == 2; }));
    client.join();
    EXPECT_EQ(statOf(server, kHash)["TorrentStatus"], 2);
    // The server's preload runs inside the request but does not watch its client.
    ASSERT_TRUE(eventually([&] { return statOf(server, kHash)["TorrentStatus"] == 3; }));
    EXPECT_GE(statOf(server, kHash)["PreloadedBytes"], 20 * kMiB);
    const auto echo = server.client().Get("/echo");
    ASSERT_TRUE(echo);
    EXPECT_EQ(echo->body, "1.1.77");
}

TEST(TorrServerPlay, StreamsContentFilesWithRanges) {
    QTemporaryDir content;
    const std::string torrent =
        TorrServerStandin::makeTorrentFile(content.path().toStdString(), "clip.mp4", 70000);
    ASSERT_FALSE(torrent.empty());
    const std::string bytes = readFile(content.path().toStdString() + "/clip.mp4");
    TorrServerStandin server(torrServerOptions(200, 64 * kMiB, content.path().toStdString()));
    ASSERT_TRUE(server.start()) << server.error();
    const std::string hash = server.addTorrentFile(torrent);
    ASSERT_EQ(hash.size(), 40u);
    const std::string view = "/torrent/view/" + hash + "/clip.mp4";

    struct Case {
        std::string range;
        int status;
        std::string contentRange;
        std::size_t first;
        std::size_t length;
    };
    const Case cases[] = {
        {"", 200, "", 0, 70000},
        {"bytes=0-9", 206, "bytes 0-9/70000", 0, 10},
        {"bytes=69990-", 206, "bytes 69990-69999/70000", 69990, 10},
        {"bytes=-5", 206, "bytes 69995-69999/70000", 69995, 5},
        {"bytes=100-999999", 206, "bytes 100-69999/70000", 100, 69900},
        {"bytes=70000-", 416, "bytes */70000", 0, 0},
        {"bytes=9-2", 416, "bytes */70000", 0, 0},
    };
    for (const Case& c : cases) {
        httplib::Headers headers;
        if (!c.range.empty()) {
            headers.emplace("Range", c.range);
        }
        const auto answer = server.client().Get(view, headers);
        ASSERT_TRUE(answer) << c.range;
        EXPECT_EQ(answer->status, c.status) << c.range;
        EXPECT_EQ(answer->get_header_value("Content-Range"), c.contentRange) << c.range;
        if (c.status != 416) {
            EXPECT_EQ(answer->get_header_value("Accept-Ranges"), "bytes");
            EXPECT_EQ(answer->get_header_value("Content-Type"), "video/mp4");
            EXPECT_TRUE(answer->body == bytes.substr(c.first, c.length))
                << c.range << ": " << answer->body.size() << " bytes";
        }
    }
    const auto head = server.client().Head(view);
    ASSERT_TRUE(head);
    EXPECT_EQ(head->get_header_value("Content-Length"), "70000");
    EXPECT_TRUE(head->body.empty());

    // A magnet of the same torrent finds its files in the content folder after the delay.
    ASSERT_EQ(server.client().Post("/torrent/rem", R"({"hash":")" + hash + R"("})", "")->status,
              200);
    ASSERT_EQ(server.addMagnet("magnet:?xt=urn:btih:" + hash), hash);
    const auto list = server.client().Post("/torrent/list", "", "");
    const json entries = json::parse(list->body);
    EXPECT_FALSE(entries[0].contains("Files"));
    ASSERT_TRUE(eventually([&] {
        const json now = json::parse(server.client().Post("/torrent/list", "", "")->body);
        return now[0].contains("Files") && now[0]["Files"][0]["Name"] == "clip.mp4";
    }));
    EXPECT_TRUE(server.client().Get(view)->body == bytes);
    const json viewed = json::parse(server.client().Post("/torrent/list", "", "")->body);
    EXPECT_EQ(viewed[0]["Files"][0]["Viewed"], true);
}

TEST(TorrServerPlay, GeneratedBytesAreStable) {
    TorrServerStandin server;
    ASSERT_TRUE(server.start()) << server.error();
    ASSERT_EQ(server.addMagnet(kMagnet), kHash);
    const std::string view = "/torrent/view/" + kHash + "/Big_Buck_Bunny_Big_Buck_Bunny_E01.mkv";
    const auto whole = server.client().Get(view, {{"Range", "bytes=1000-5999"}});
    const auto part = server.client().Get(view, {{"Range", "bytes=3000-3999"}});
    ASSERT_TRUE(whole && part);
    EXPECT_EQ(whole->status, 206);
    ASSERT_EQ(whole->body.size(), 5000u);
    EXPECT_TRUE(part->body == whole->body.substr(2000, 1000));
    EXPECT_NE(whole->body, std::string(5000, whole->body[0]));
}

TEST(TorrServerPlay, PlaylistsAndPlayStates) {
    TorrServerStandin server;
    ASSERT_TRUE(server.start()) << server.error();
    ASSERT_EQ(server.addMagnet(kMagnet), kHash);
    // Three made-up episodes for a hash whose first byte is odd.
    const std::string series = "11" + std::string(38, '0');
    const auto m3u = server.client().Get("/torrent/play?link=magnet%3A%3Fxt%3Durn%3Abtih%3A" +
                                         series + "%26dn%3DShow&m3u=true&save=false&fname=x");
    ASSERT_TRUE(m3u);
    EXPECT_EQ(m3u->get_header_value("Content-Type"), "audio/x-mpegurl");
    // The attachment is named after the torrent whatever "fname" says.
    EXPECT_EQ(m3u->get_header_value("Content-Disposition"), "attachment; filename=\"Show.m3u\"");
    const std::string address = "http://127.0.0.1:" + std::to_string(server.port()) +
                                "/torrent/play?link=magnet%3A%3Fxt%3Durn%3Abtih%3A" + series +
                                "%26dn%3DShow&file=";
    EXPECT_EQ(m3u->body, "#EXTM3U\n#EXTINF:0, Show E01.mkv\n" + address +
                             "0\n\n#EXTINF:0, Show E02.mkv\n" + address +
                             "1\n\n#EXTINF:0, Show E03.mkv\n" + address + "2\n\n");

    // Several media files and no index: the play state, its playable files only.
    const auto state = server.client().Get("/torrent/play?link=" + series);
    ASSERT_TRUE(state);
    EXPECT_EQ(state->status, 200);
    const json played = json::parse(state->body);
    EXPECT_EQ(played["Hash"], series);
    EXPECT_EQ(played["FileStats"].size(), 3u);

    // Only saved torrents are in the m3u of all.
    ASSERT_TRUE(eventually([&] {
        const json entries = json::parse(server.client().Post("/torrent/list", "", "")->body);
        return entries.size() == 2 && entries[0]["Hash"] == kHash && entries[0]["Status"] == 0;
    }));
    const auto all = server.client().Get("/torrent/playlist.m3u");
    ASSERT_TRUE(all);
    EXPECT_EQ(all->body, "#EXTM3U\n#EXTINF:0 type=\"playlist\", Big Buck Bunny\nhttp://127.0.0.1:" +
                             std::to_string(server.port()) +
                             "/torrent/play?link=magnet%3A%3Fxt%3Durn%3Abtih%3A" + kHash +
                             "%26dn%3DBig%2BBuck%2BBunny&m3u=true\n\n");
}
