// Today's request bodies and addresses, byte for byte.
#include "connection/today/today_addresses.h"
#include "connection/today/today_bodies.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace qb::connection::today {
namespace {
const QString kHash = u"dd8255ecdc7ca55fb0bbf81323d87062db1f6d1c"_s;

TEST(TodayBodies, NameTheActionAndLeaveOutEmptyMembers) {
    EXPECT_EQ(listBody(), "{\"action\":\"list\"}");
    EXPECT_EQ(getBody(kHash), "{\"action\":\"get\",\"hash\":\"" + kHash.toUtf8() + "\"}");
    EXPECT_EQ(removeBody(kHash), "{\"action\":\"rem\",\"hash\":\"" + kHash.toUtf8() + "\"}");
    EXPECT_EQ(viewedListBody(), "{\"action\":\"list\"}");
    EXPECT_EQ(addBody({u"magnet:?xt=urn:btih:abc"_s, {}, {}, {}}),
              "{\"action\":\"add\",\"link\":\"magnet:?xt=urn:btih:abc\",\"save_to_db\":true}");
}

TEST(TodayBodies, AddCarriesTitlePosterAndDataEscaped) {
    EXPECT_EQ(addBody({u"magnet:?xt=urn:btih:abc&tr=x"_s, u"Фильм \"1\""_s, u"http://img/p.jpg"_s,
                       u"{\"id\":\"77\"}"_s}),
              QString(u"{\"action\":\"add\",\"link\":\"magnet:?xt=urn:btih:abc&tr=x\","
                      u"\"title\":\"Фильм \\\"1\\\"\",\"poster\":\"http://img/p.jpg\","
                      u"\"data\":\"{\\\"id\\\":\\\"77\\\"}\",\"save_to_db\":true}"_s)
                  .toUtf8());
}

TEST(TodayBodies, SetPassesEveryKeptValue) {
    EXPECT_EQ(setBody({kHash, u"T"_s, u"P"_s, u"movie"_s, u"D\n"_s}),
              "{\"action\":\"set\",\"hash\":\"" + kHash.toUtf8() +
                  "\",\"title\":\"T\",\"poster\":\"P\",\"category\":\"movie\",\"data\":\"D\\n\"}");
}

TEST(TodayAddresses, AsTheServerNamesThem) {
    EXPECT_EQ(playlistAddress(kHash), u"/playlist?hash="_s + kHash);
    EXPECT_EQ(streamAddress(kHash, u"Show/Season 1/e01 [x].mkv"_s, 3),
              u"/stream/e01%20%5Bx%5D.mkv?link="_s + kHash + u"&index=3&play"_s);
    EXPECT_EQ(preloadAddress(kHash, 2), u"/stream?link="_s + kHash + u"&index=2&preload"_s);
    EXPECT_EQ(preloadAddress(kHash), u"/stream?link="_s + kHash + u"&preload"_s);
    EXPECT_EQ(allPlaylistAddress(), u"/playlistall/all.m3u"_s);
    EXPECT_EQ(webInterfaceAddress(), u"/"_s);
}

TEST(TodayAddresses, AMagnetPlayedWithoutAddingIsEscapedTwice) {
    // The server unescapes the value once reading the query and once more itself: twice escaped,
    // the magnet arrives as it was, its own "%20" and "+" included.
    const QString magnet = u"magnet:?xt=urn:btih:abc&dn=a%20b+c&tr=http%3A%2F%2Ft%2Fann"_s;
    EXPECT_EQ(playWithoutAddingAddress(magnet),
              u"/stream/play.m3u?link=magnet%253A%253Fxt%253Durn%253Abtih%253Aabc%2526dn%253Da"
              u"%252520b%252Bc%2526tr%253Dhttp%25253A%25252F%25252Ft%25252Fann&m3u"_s);
}

TEST(TodayAddresses, MagnetsFromHashAndName) {
    EXPECT_EQ(magnetOf(kHash, {}), u"magnet:?xt=urn:btih:"_s + kHash);
    EXPECT_EQ(magnetOf(kHash, u"Big Buck Bunny"_s),
              u"magnet:?xt=urn:btih:"_s + kHash + u"&dn=Big+Buck+Bunny"_s);
    EXPECT_EQ(magnetOf(u"a&b"_s, u"id_4D"_s), u"magnet:?xt=urn:btih:a%26b&dn=id_4D"_s);
}
} // namespace
} // namespace qb::connection::today
