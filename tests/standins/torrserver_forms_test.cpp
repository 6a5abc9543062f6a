// The stand-in's 1.1 answers where 1.1.77 and the servers up to 1.1.76 differ, and the 1.1
// servers' ways the stand-in once had otherwise: Status 0 of saved torrents, absolute
// redirects, a preload skipped once the torrent has preloaded, idle torrents unloaded.
#include "torrserver_test_support.h"

#include <future>
#include <gtest/gtest.h>

using nlohmann::json;
using namespace qb::testing;

namespace {
const std::string kHash = "dd8255ecdc7ca55fb0bbf81323d87062db1f6d1c";
// Three made-up episodes and an .srt belong to this hash (its first byte is odd).
const std::string kMagnet =
    "magnet:?xt=urn:btih:" + kHash + "&dn=Big+Buck+Bunny&tr=udp%3A%2F%2Fexplodie.org%3A6969";
const std::string kEscapedMagnet = "magnet%3A%3Fxt%3Durn%3Abtih%3A" + kHash +
                                   "%26dn%3DBig%2BBuck%2BBunny%26tr%3Dudp%253A%252F%252F"
                                   "explodie.org%253A6969";
const std::string kBareMagnet = "magnet:?xt=urn:btih:" + kHash + "&dn=Big+Buck+Bunny";
const std::string kEscapedBareMagnet =
    "magnet%3A%3Fxt%3Durn%3Abtih%3A" + kHash + "%26dn%3DBig%2BBuck%2BBunny";
const std::string kFirstFile = "Big_Buck_Bunny_Big_Buck_Bunny_E01.mkv";

json list(TorrServerStandin& server) {
    return json::parse(postTo(server, "/torrent/list", "").body, nullptr, false);
}

// A server of the version with the magnet added and saved.
struct SavedServer {
    explicit SavedServer(const std::string& version, TorrServerStandinOptions options = {})
        : server([&] {
            options.version = version;
            return options;
        }()) {}

    bool start() {
        return server.start() && server.addMagnet(kMagnet) == kHash && eventually([this] {
                   const json entries = list(server);
                   return entries.size() == 1 && entries[0].contains("Files");
               });
    }

    std::string origin() const { return "http://127.0.0.1:" + std::to_string(server.port()); }

    TorrServerStandin server;
};
} // namespace

TEST(TorrServerForms, ListAddressesOfEachVersion) {
    struct Case {
        std::string version;
        std::string playlist;
        std::string play;    // of the first file
        std::string preload; // of the first file
    };
    const Case cases[] = {
        {"1.1.77", "/torrent/play?link=" + kEscapedBareMagnet + "&m3u=true",
         "/torrent/play/" + kFirstFile + "?link=" + kBareMagnet + "&file=0",
         "/torrent/play/" + kFirstFile + "?link=" + kBareMagnet + "&file=0&preload=true"},
        {"1.1.76", "/torrent/play?link=" + kEscapedMagnet + "&m3u=true&fname=Big_Buck_Bunny.m3u",
         "/torrent/play?link=" + kMagnet + "&file=0",
         "/torrent/preload/" + kHash + "/" + kFirstFile},
        {"1.1.65", "/torrent/play?link=" + kEscapedMagnet + "&m3u=true&fname=Big_Buck_Bunny.m3u",
         "/torrent/play?link=" + kMagnet + "&file=0",
         "/torrent/preload/" + kHash + "/" + kFirstFile},
    };
    for (const Case& c : cases) {
        SavedServer saved(c.version);
        ASSERT_TRUE(saved.start()) << c.version << " " << saved.server.error();
        const json entry = list(saved.server)[0];
        EXPECT_EQ(entry["Status"], 0) << c.version;
        EXPECT_EQ(entry["Playlist"], c.playlist) << c.version;
        ASSERT_EQ(entry["Files"].size(), 4u) << c.version;
        EXPECT_EQ(entry["Files"][0]["Name"], "Big Buck Bunny/Big Buck Bunny E01.mkv");
        EXPECT_EQ(entry["Files"][0]["Play"], c.play) << c.version;
        EXPECT_EQ(entry["Files"][0]["Preload"], c.preload) << c.version;
        EXPECT_EQ(entry["Files"][3]["Name"], "Big Buck Bunny/Big Buck Bunny.srt");
    }
}

TEST(TorrServerForms, PlaylistsAsEachVersionWritesThem) {
    struct Case {
        std::string version;
        std::string torrentM3u; // "ORIGIN" stands for the server's address
        std::string allM3u;
    };
    const std::string play77 = "ORIGIN/torrent/play?link=" + kEscapedBareMagnet + "&file=";
    const std::string play76 = "ORIGIN/torrent/play?link=" + kEscapedMagnet + "&file=";
    const Case cases[] = {
        {"1.1.77",
         "#EXTM3U\n#EXTINF:0, Big Buck Bunny E01.mkv\n" + play77 +
             "0\n\n#EXTINF:0, Big Buck Bunny E02.mkv\n" + play77 +
             "1\n\n#EXTINF:0, Big Buck Bunny E03.mkv\n" + play77 + "2\n\n",
         "#EXTM3U\n#EXTINF:0 type=\"playlist\", Big Buck Bunny\nORIGIN/torrent/play?link=" +
             kEscapedBareMagnet + "&m3u=true\n\n"},
        {"1.1.76",
         "#EXTM3U\n#EXTINF:-1 type=\"playlist\", Big Buck Bunny/Big Buck Bunny E01.mkv\n" + play76 +
             "0\n\n#EXTINF:-1 type=\"playlist\", Big Buck Bunny/Big Buck Bunny E02.mkv\n" + play76 +
             "1\n\n#EXTINF:-1 type=\"playlist\", Big Buck Bunny/Big Buck Bunny E03.mkv\n" + play76 +
             "2\n\n",
         "#EXTM3U\n#EXTINF:0 type=\"playlist\", Big Buck Bunny\nORIGIN/torrent/play?link=" +
             kEscapedMagnet + "&m3u=true&fname=Big_Buck_Bunny.m3u\n\n"},
    };
    const auto withOrigin = [](std::string text, const std::string& origin) {
        for (auto at = text.find("ORIGIN"); at != std::string::npos; at = text.find("ORIGIN")) {
            text.replace(at, 6, origin);
        }
        return text;
    };
    for (const Case& c : cases) {
        SavedServer saved(c.version);
        ASSERT_TRUE(saved.start()) << c.version << " " << saved.server.error();
        const Answer m3u =
            getFrom(saved.server, "/torrent/play?link=" + kEscapedMagnet + "&m3u=true");
        EXPECT_EQ(m3u.status, 200);
        EXPECT_EQ(m3u.header("Content-Type"), "audio/x-mpegurl");
        EXPECT_EQ(m3u.header("Content-Disposition"), "attachment; filename=\"Big_Buck_Bunny.m3u\"");
        EXPECT_EQ(m3u.body, withOrigin(c.torrentM3u, saved.origin())) << c.version;

        const Answer all = getFrom(saved.server, "/torrent/playlist.m3u");
        EXPECT_EQ(all.header("Content-Disposition"), "attachment; filename=\"playlist.m3u\"");
        EXPECT_EQ(all.body, withOrigin(c.allM3u, saved.origin())) << c.version;
    }
}

TEST(TorrServerForms, PlayByNamedPathRedirectsAbsoluteForGetAndHead) {
    SavedServer saved("1.1.77", torrServerOptions(0, 512 * kMiB));
    ASSERT_TRUE(saved.start()) << saved.server.error();
    const std::string play = list(saved.server)[0]["Files"][1]["Play"];
    const std::string location =
        saved.origin() + "/torrent/view/" + kHash + "/Big_Buck_Bunny_Big_Buck_Bunny_E02.mkv";
    const Answer get = getFrom(saved.server, play);
    EXPECT_EQ(get.status, 302);
    EXPECT_EQ(get.header("Location"), location);
    const auto head = saved.server.client().Head(play);
    ASSERT_TRUE(head);
    EXPECT_EQ(head->status, 302);
    EXPECT_EQ(head->get_header_value("Location"), location);
}

TEST(TorrServerForms, APreloadIsSkippedOnceTheTorrentHasPreloaded) {
    SavedServer saved("1.1.77", torrServerOptions(0, 4 * kMiB));
    ASSERT_TRUE(saved.start()) << saved.server.error();
    const std::string play = "/torrent/play?link=" + kEscapedMagnet + "&file=";
    // A 1 MB preload runs inside the first request.
    const Answer first = getFrom(saved.server, play + "0&preload=1");
    ASSERT_EQ(first.status, 302);
    const std::int64_t preloaded = statOf(saved.server, kHash)["PreloadedBytes"];
    EXPECT_GE(preloaded, kMiB);
    // Something is preloaded: the next play of any file redirects without a 20 MB preload.
    const Answer second = getFrom(saved.server, play + "2&preload=20");
    EXPECT_EQ(second.status, 302);
    const json after = statOf(saved.server, kHash);
    EXPECT_EQ(after["TorrentStatus"], 3);
    EXPECT_LT(after["PreloadedBytes"], 20 * kMiB);
    EXPECT_EQ(after["PreloadSize"], kMiB);
}

TEST(TorrServerForms, StatMembersAndFilesBeforeAndAfterTheMetadata) {
    auto options = torrServerOptions(400);
    TorrServerStandin server(options);
    ASSERT_TRUE(server.start()) << server.error();
    ASSERT_EQ(server.addMagnet(kMagnet), kHash);
    const nlohmann::ordered_json early = nlohmann::ordered_json::parse(
        postTo(server, "/torrent/stat", R"({"Hash":")" + kHash + R"("})").body, nullptr, false);
    ASSERT_TRUE(early.is_object());
    std::vector<std::string> keys;
    for (const auto& [key, value] : early.items()) {
        keys.push_back(key);
    }
    EXPECT_EQ(keys, (std::vector<std::string>{"Name",
                                              "Hash",
                                              "TorrentStatus",
                                              "TorrentStatusString",
                                              "LoadedSize",
                                              "TorrentSize",
                                              "PreloadedBytes",
                                              "PreloadSize",
                                              "DownloadSpeed",
                                              "UploadSpeed",
                                              "TotalPeers",
                                              "PendingPeers",
                                              "ActivePeers",
                                              "ConnectedSeeders",
                                              "HalfOpenPeers",
                                              "BytesWritten",
                                              "BytesWrittenData",
                                              "BytesRead",
                                              "BytesReadData",
                                              "BytesReadUsefulData",
                                              "ChunksWritten",
                                              "ChunksRead",
                                              "ChunksReadUseful",
                                              "ChunksReadWasted",
                                              "PiecesDirtiedGood",
                                              "PiecesDirtiedBad",
                                              "FileStats"}));
    EXPECT_EQ(early["TorrentStatus"], 1);
    EXPECT_TRUE(early["FileStats"].is_null());
    json later;
    ASSERT_TRUE(eventually([&] {
        later = statOf(server, kHash);
        return later["TorrentStatus"] == 3;
    }));
    // Every file, sorted by path, each with its place as its id.
    ASSERT_EQ(later["FileStats"].size(), 4u);
    EXPECT_EQ(later["FileStats"][3], (json{{"Id", 3},
                                           {"Path", "Big Buck Bunny/Big Buck Bunny.srt"},
                                           {"Length", later["FileStats"][3]["Length"]}}));
}

TEST(TorrServerForms, IdleTorrentsAreUnloadedThenStatAnswers404) {
    auto options = torrServerOptions(0);
    options.unloadAfterMs = 300;
    TorrServerStandin server(options);
    ASSERT_TRUE(server.start()) << server.error();
    ASSERT_EQ(server.addMagnet(kMagnet), kHash);
    const std::string other = std::string(40, 'b');
    ASSERT_EQ(postTo(server, "/torrent/add", R"({"link":")" + other + R"(","DontSave":true})").body,
              other);
    ASSERT_TRUE(statOf(server, kHash).is_object());
    ASSERT_TRUE(eventually([&] { return statOf(server, kHash).is_null(); }));
    EXPECT_EQ(postTo(server, "/torrent/stat", R"({"Hash":")" + kHash + R"("})").status, 404);
    // The saved one stays listed; the one held only in memory is gone with it.
    ASSERT_TRUE(eventually([&] { return list(server).size() == 1; }));
    EXPECT_EQ(list(server)[0]["Hash"], kHash);
    // A play loads it again.
    EXPECT_EQ(getFrom(server, "/torrent/play?link=" + kHash + "&stat=true").status, 200);
    EXPECT_TRUE(statOf(server, kHash).is_object());
}

TEST(TorrServerForms, ATorrentLoadedAgainAfterAnUnloadPreloadsAgain) {
    auto options = torrServerOptions(0, 16 * kMiB);
    options.unloadAfterMs = 500;
    TorrServerStandin server(options);
    ASSERT_TRUE(server.start()) << server.error();
    const std::string play = "/torrent/play?link=" + kHash + "&file=0&preload=";
    ASSERT_EQ(getFrom(server, play + "1").status, 302);
    EXPECT_EQ(statOf(server, kHash)["PreloadSize"], kMiB);
    ASSERT_TRUE(eventually([&] { return statOf(server, kHash).is_null(); }));
    // A new torrent of the server: nothing of it is preloaded, so this play preloads.
    ASSERT_EQ(getFrom(server, play + "2").status, 302);
    const json again = statOf(server, kHash);
    EXPECT_EQ(again["PreloadSize"], 2 * kMiB);
    EXPECT_GE(again["PreloadedBytes"], 2 * kMiB);
}

TEST(TorrServerForms, ATorrentAddedByLinkIsSavedOnlyOnceItsMetadataArrived) {
    auto options = torrServerOptions(60000);
    TorrServerStandin server(options);
    ASSERT_TRUE(server.start()) << server.error();
    ASSERT_EQ(server.addMagnet(kMagnet), kHash);
    const json before = list(server);
    ASSERT_EQ(before.size(), 1u);
    EXPECT_EQ(before[0]["Status"], 1);
    ASSERT_TRUE(server.restart()) << server.error();
    EXPECT_TRUE(list(server).empty());
}
