#include "playback/preload/preload_link.h"

#include <gtest/gtest.h>

namespace {
using namespace qb::playback;

// The "Playlist" of a torrent as the server lists it (its "&" arrive as "\u0026" in the JSON).
const QString kPlaylist = QStringLiteral(
    "/torrent/play?link=magnet%3A%3Fxt%3Durn%3Abtih%3Add8255ecdc7ca55fb0bbf81323d87062db1f6d1c"
    "%26dn%3DBig%2BBuck%2BBunny&m3u=true&fname=Big_Buck_Bunny.m3u");

struct LinkRow {
    const char* name;
    QString (*build)(const QString&);
    QString in;
    QString out;
};

class PreloadLink : public ::testing::TestWithParam<LinkRow> {};

TEST_P(PreloadLink, IsBuiltFromItsSource) {
    EXPECT_EQ(GetParam().build(GetParam().in), GetParam().out) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(
    Sources, PreloadLink,
    ::testing::Values(
        LinkRow{"torrent list", torrentPreloadLink, kPlaylist,
                QStringLiteral("/torrent/play?link=magnet:?xt=urn:btih:"
                               "dd8255ecdc7ca55fb0bbf81323d87062db1f6d1c&dn=Big+Buck+Bunny"
                               "&file=0&preload=true&fname=Big_Buck_Bunny.m3u")},
        LinkRow{"torrent list, any case, every time", torrentPreloadLink,
                QStringLiteral("/p?a=1&M3U=True&b=2&m3u=TRUE"),
                QStringLiteral("/p?a=1&file=0&preload=true&b=2&file=0&preload=true")},
        LinkRow{"torrent list, &amp= taken out", torrentPreloadLink,
                QStringLiteral("/p?link=x%26amp%3Dy&AMP=z&m3u=true"),
                QStringLiteral("/p?link=xyz&file=0&preload=true")},
        LinkRow{"search result", searchPreloadLink,
                QStringLiteral("magnet:?xt=urn:btih:ABCDEF0123456789ABCDEF0123456789ABCDEF01&amp;"
                               "dn=Фильм 1999"),
                QStringLiteral("/torrent/play?link=magnet%3A%3Fxt%3Durn%3Abtih%3AABCDEF0123456789"
                               "ABCDEF0123456789ABCDEF01%26amp%3Bdn%3D%D0%A4%D0%B8%D0%BB%D1%8C%D0%"
                               "BC+1999&file=0&preload=true")},
        LinkRow{"file list", filePreloadLink,
                QStringLiteral("/torrent/preload/dd82/Big%20Buck_Bunny.mp4"),
                QStringLiteral("/torrent/preload/dd82/Big Buck_Bunny.mp4")},
        LinkRow{"file list keeps m3u", filePreloadLink, QStringLiteral("/x?m3u=true&amp=1"),
                QStringLiteral("/x?m3u=true1")}));

TEST(StatHash, FromTheSearchMagnetAndTheDecodedPlaylist) {
    EXPECT_EQ(searchInfoHash(QStringLiteral("magnet:?xt=urn:btih:ABC123&amp;dn=x&amp;tr=y")),
              QStringLiteral("ABC123"));
    EXPECT_EQ(searchInfoHash(QStringLiteral("magnet:?xt=urn:btih:ABC123")),
              QStringLiteral("ABC123"));
    EXPECT_EQ(searchInfoHash(QStringLiteral("magnet:?dn=no-hash&amp;tr=y")), QString());
    EXPECT_EQ(playlistInfoHash(kPlaylist),
              QStringLiteral("dd8255ecdc7ca55fb0bbf81323d87062db1f6d1c"));
    EXPECT_EQ(playlistInfoHash(QStringLiteral("/torrent/play?m3u=true")), QString());
}

} // namespace
