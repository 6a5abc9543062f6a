// Today's status objects read as the client's entries.
#include "connection/list/member_text.h"
#include "connection/list/release_id.h"
#include "connection/list/row_colours.h"
#include "connection/today/client_entry.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace qb::connection::today {
namespace {
using Json = nlohmann::ordered_json;

const char* const kHash = "dd8255ecdc7ca55fb0bbf81323d87062db1f6d1c";

// A status object written with "HASH" where the torrent's hash goes.
Json statusOf(std::string text) {
    for (std::size_t at = text.find("HASH"); at != std::string::npos; at = text.find("HASH")) {
        text.replace(at, 4, kHash);
    }
    return Json::parse(text);
}

// A loaded multi-file torrent as MatriX.143 lists it: files sorted by path, ids from 1, a
// subtitle between two videos; the client's data with the release id, poster and magnet.
Json loadedSeries() {
    return statusOf(R"({"title":"Show S01","category":"tv","poster":"",
        "data":"{\"id\":\"77\", \"poster_path\":\"http://img/p.jpg\", \"magnet\":\"magnet:?xt=urn:btih:HASH&dn=id_4D&tr=http%3A%2F%2Fbt.tracker.example%2Fann\"}",
        "timestamp":1700000000,"name":"Show.S01.1080p","hash":"HASH","stat":3,
        "stat_string":"Torrent working","loaded_size":1024,"torrent_size":3221225472,
        "download_speed":1.5,"active_peers":4,
        "file_stats":[{"id":1,"path":"Show.S01.1080p/e01.mkv","length":1073741824},
                      {"id":2,"path":"Show.S01.1080p/e01.srt","length":2048},
                      {"id":3,"path":"Show.S01.1080p/e02.mkv","length":1073741824}]})");
}

TEST(ClientEntry, ALoadedTorrentKeepsItsFilesAndReleaseId) {
    const Json entry = clientEntry(loadedSeries());
    EXPECT_EQ(entry["Name"], "Show S01");
    EXPECT_EQ(entry["Hash"], kHash);
    EXPECT_EQ(entry["Length"], 3221225472LL);
    EXPECT_EQ(entry["Status"], 3);
    // The magnet the release was added with, trackers and all.
    EXPECT_EQ(entry["Magnet"], std::string("magnet:?xt=urn:btih:") + kHash +
                                   "&dn=id_4D&tr=http%3A%2F%2Fbt.tracker.example%2Fann");
    EXPECT_EQ(entry["Playlist"], std::string("/playlist?hash=") + kHash);
    EXPECT_EQ(entry["Info"], R"({"id":"77", "poster_path":"http://img/p.jpg"})");
    ASSERT_EQ(entry["Files"].size(), 3U);
    // Ids are the server's, not positions: the second video is id 3.
    EXPECT_EQ(entry["Files"][2]["Name"], "Show.S01.1080p/e02.mkv");
    EXPECT_EQ(entry["Files"][2]["Id"], 3);
    EXPECT_EQ(entry["Files"][2]["Link"],
              std::string("/stream/e02.mkv?link=") + kHash + "&index=3&play");
    EXPECT_EQ(entry["Files"][2]["Preload"],
              std::string("/stream?link=") + kHash + "&index=3&preload");
    EXPECT_EQ(entry["Files"][2]["Size"], 1073741824LL);
    EXPECT_EQ(entry["Files"][2]["Viewed"], false);
    // What the window derives from it: the release id, and two playable files (dark red).
    EXPECT_EQ(releaseIdFromMagnet(entryMemberText(entry, "Magnet")), u"77"_s);
    EXPECT_EQ(torrentRowColour(entry, u"Show S01 - Размер: 3.00 ГБ"_s, false).text,
              RowTextColour::DarkRed);
}

TEST(ClientEntry, ATorrentOnlyInTheDatabaseTakesItsFilesFromData) {
    // The server keeps the file list in "data" for a torrent saved without data of the client's;
    // such a torrent has no name and no file_stats.
    const Json status = Json::parse(std::string(R"({"title":"Film","category":"","poster":"",
        "data":"{\"TorrServer\":{\"Files\":[{\"id\":1,\"path\":\"Film.mkv\",\"length\":700}]}}",
        "timestamp":1,"hash":")") + kHash +
                                    R"(","stat":5,"stat_string":"Torrent in db",
        "torrent_size":700})");
    const Json entry = clientEntry(status);
    EXPECT_EQ(entry["Name"], "Film");
    EXPECT_EQ(entry["Status"], 5);
    EXPECT_EQ(entry["Magnet"], std::string("magnet:?xt=urn:btih:") + kHash + "&dn=Film");
    EXPECT_EQ(entry["Info"], "{}");
    ASSERT_EQ(entry["Files"].size(), 1U);
    EXPECT_EQ(entry["Files"][0]["Link"],
              std::string("/stream/Film.mkv?link=") + kHash + "&index=1&play");
}

TEST(ClientEntry, UnknownFilesAreAnEmptyListSoTheSelectionGoesOn) {
    const Json status = Json::parse(std::string(R"({"title":"Film","poster":"http://p",
        "data":"{\"id\":\"255\", \"poster_path\":\"\"}","hash":")") +
                                    kHash + R"(","stat":5})");
    const Json entry = clientEntry(status);
    EXPECT_EQ(entry["Files"], Json::array());
    EXPECT_FALSE(entry.contains("Length"));
    // The poster member wins over the one kept in data.
    EXPECT_EQ(entry["Info"], R"({"id":"255", "poster_path":"http://p"})");
    EXPECT_EQ(entry["Magnet"], std::string("magnet:?xt=urn:btih:") + kHash + "&dn=id_FF");
}

TEST(ClientEntry, WithoutATitleTheTorrentsOwnNameShows) {
    const Json entry = clientEntry(Json::parse(R"({"title":"","name":"Own name","stat":1})"));
    EXPECT_EQ(entry["Name"], "Own name");
    EXPECT_EQ(entry["Status"], 1);
    EXPECT_EQ(entry["Magnet"], "magnet:?xt=urn:btih:&dn=Own+name");
}

TEST(ClientEntry, ValuesOfTheWrongShapeAreLeftOut) {
    const Json entry = clientEntry(Json::parse(
        R"({"title":{"a":1},"hash":[1],"torrent_size":"12","stat":null,"data":7,
            "file_stats":[3,{"path":"a.mkv"},{"id":"x","path":"b.mkv"}]})"));
    EXPECT_EQ(entry["Name"], "");
    EXPECT_FALSE(entry.contains("Hash"));
    EXPECT_EQ(entry["Length"], "12");
    EXPECT_EQ(entry["Status"], nullptr);
    // Files without a usable id get their place in the list.
    ASSERT_EQ(entry["Files"].size(), 2U);
    EXPECT_EQ(entry["Files"][0]["Id"], 2);
    EXPECT_EQ(entry["Files"][1]["Id"], 3);
    EXPECT_EQ(clientEntry(Json::array())["Files"], Json::array());
    EXPECT_EQ(clientEntry(Json("text")).size(), 1U);
}

TEST(ClientEntry, ViewedMarksFollowTheServerIds) {
    Json entry = clientEntry(loadedSeries());
    markViewedFiles(entry, {3, 9});
    EXPECT_EQ(entry["Files"][0]["Viewed"], false);
    EXPECT_EQ(entry["Files"][2]["Viewed"], true);
}

TEST(ClientEntry, TheServersFileListIsTakenFromFileStats) {
    const Json files = serverFileList(loadedSeries());
    ASSERT_EQ(files.size(), 3U);
    EXPECT_EQ(files[1], Json::parse(R"({"id":2,"path":"Show.S01.1080p/e01.srt","length":2048})"));
    EXPECT_EQ(serverFileList(Json::parse(R"({"file_stats":7})")), Json::array());
}
} // namespace
} // namespace qb::connection::today
