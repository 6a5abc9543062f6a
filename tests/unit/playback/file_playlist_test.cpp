#include "connection/list/file_rows.h"
#include "playback/playlist/file_playlist.h"

#include <gtest/gtest.h>

namespace {
using namespace qb::playback;
using Json = nlohmann::ordered_json;

const QString kBase = QStringLiteral("http://127.0.0.1:8090");

// A series with its subtitle file listed before the episodes, as servers often list them.
const Json kFiles = Json::parse(R"([
    {"Name":"Show/Show.e01.srt","Link":"/stream?link=h&file=0"},
    {"Name":"Show/Season 1/e01.mkv","Link":"/stream?link=h&file=0&play"},
    {"Name":"Show/e02 (Финал).mkv","Link":"/stream?link=h&FILE=0"},
    {"Name":"top.mkv","Link":"/torrent/view/h/top.mkv"}
])");

// Rows shown by the file list, mapped to the entries they show.
QList<int> fileIndexesOfRows(const QList<int>& rows) {
    const QList<qb::connection::FileRow> shown = qb::connection::addListRows(kFiles);
    QList<int> indexes;
    for (const int row : rows) {
        indexes.append(shown[row].fileIndex);
    }
    return indexes;
}

TEST(FilePlaylist, ExactBytesWithASubtitleBeforeTheRows) {
    // Rows 0 and 1 show entries 1 and 2: the subtitle file has no row.
    const QByteArray bytes = filePlaylistBytes(kBase, kFiles, fileIndexesOfRows({0, 1}));
    const QByteArray expected = "\xEF\xBB\xBF"
                                "#EXTM3U\r\n"
                                "#EXTINF:0, Season 1/e01.mkv\r\n"
                                "http://127.0.0.1:8090/stream?link=h&file=1&play\r\n"
                                "#EXTINF:0, e02 (\xD0\xA4\xD0\xB8\xD0\xBD\xD0\xB0\xD0\xBB).mkv\r\n"
                                "http://127.0.0.1:8090/stream?link=h&file=2\r\n";
    EXPECT_EQ(bytes, expected);
}

TEST(FilePlaylist, RowsZeroAndTwo) {
    const QByteArray bytes = filePlaylistBytes(kBase, kFiles, fileIndexesOfRows({0, 2}));
    EXPECT_TRUE(
        bytes.endsWith("#EXTINF:0, top.mkv\r\nhttp://127.0.0.1:8090/torrent/view/h/top.mkv\r\n"))
        << bytes.toStdString();
    EXPECT_EQ(bytes.count("#EXTINF:0, "), 2);
}

TEST(FilePlaylist, NothingChosenOrOutsideTheList) {
    EXPECT_EQ(filePlaylistBytes(kBase, kFiles, {}), QByteArray("\xEF\xBB\xBF#EXTM3U\r\n"));
    EXPECT_EQ(filePlaylistBytes(kBase, kFiles, {-1, 4}), QByteArray("\xEF\xBB\xBF#EXTM3U\r\n"));
    EXPECT_EQ(filePlaylistBytes(kBase, Json::object(), {0}), QByteArray("\xEF\xBB\xBF#EXTM3U\r\n"));
}

TEST(FilePlaylist, LineBreaksFromTheServerStayInsideTheirLine) {
    const Json files = Json::parse(R"([
        {"Name":"a\r\nsmb:x.mkv\n.mkv","Link":"/s?link=h&file=0\r\n/t"}
    ])");
    EXPECT_EQ(filePlaylistBytes(kBase, files, {0}),
              QByteArray("\xEF\xBB\xBF#EXTM3U\r\n"
                         "#EXTINF:0, a  smb:x.mkv .mkv\r\n"
                         "http://127.0.0.1:8090/s?link=h&file=0  /t\r\n"));
}

TEST(FilePlaylist, AddressTable) {
    EXPECT_EQ(filePlaylistAddress(kBase, QStringLiteral("/s?file=0"), 3),
              kBase + QStringLiteral("/s?file=0")); // only "&file=0" is a file number
    EXPECT_EQ(filePlaylistAddress(kBase, QStringLiteral("/s?a&file=0&b&File=0"), 12),
              kBase + QStringLiteral("/s?a&file=12&b&file=12"));
    EXPECT_EQ(filePlaylistAddress(kBase, QStringLiteral("/s?a&file=01"), 5),
              kBase + QStringLiteral("/s?a&file=51"));
}

TEST(PlaylistFileName, CutsFromTheLastDot) {
    const std::pair<const char*, const char*> rows[] = {
        {"Film.2020.mkv", "Film.2020"},
        {"Сериал.S01.1080p", "Сериал.S01"}, // no extension, cut all the same
        {"No dots here", "No dots here"},
        {".hidden", ""},
        {"", ""},
    };
    for (const auto& [in, out] : rows) {
        EXPECT_EQ(playlistFileName(QString::fromUtf8(in)), QString::fromUtf8(out)) << in;
    }
}

} // namespace
