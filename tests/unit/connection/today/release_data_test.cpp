// What the client keeps in today's server's "data": the release id and the poster.
#include "connection/today/release_data.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace qb::connection::today {
namespace {
TEST(ReleaseData, WrittenAsTheOlderServerKeptInfo) {
    EXPECT_EQ(releaseDataText({u"77"_s, u"http://x/p.jpg"_s, {}}),
              u"{\"id\":\"77\", \"poster_path\":\"http://x/p.jpg\"}"_s);
    EXPECT_EQ(releaseDataText({{}, u"http://x/p.jpg"_s, {}}),
              u"{\"poster_path\":\"http://x/p.jpg\"}"_s);
    EXPECT_EQ(releaseDataText({u"77"_s, {}, {}}), u"{\"id\":\"77\", \"poster_path\":\"\"}"_s);
    EXPECT_EQ(releaseDataText({u"77"_s, u"p"_s, u"magnet:?xt=urn:btih:ab&dn=id_4D&tr=x"_s}),
              u"{\"id\":\"77\", \"poster_path\":\"p\", \"magnet\":\"magnet:?xt=urn:btih:ab&dn=id_4D"
              u"&tr=x\"}"_s);
    EXPECT_EQ(releaseDataText({}), QString());
    EXPECT_EQ(releaseDataText({u"1"_s, u"a\"b\\"_s, {}}),
              u"{\"id\":\"1\", \"poster_path\":\"a\\\"b\\\\\"}"_s);
}

struct ReadCase {
    const char16_t* data;
    const char16_t* id;
    const char16_t* poster;
    const char16_t* magnet = u"";
};

class ReadData : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ReadData, TakesOnlyWhatIsTheClients) {
    const ReadCase& c = GetParam();
    const ReleaseData read = readReleaseData(QString::fromUtf16(c.data));
    EXPECT_EQ(read.releaseId, QString::fromUtf16(c.id));
    EXPECT_EQ(read.poster, QString::fromUtf16(c.poster));
    EXPECT_EQ(read.magnet, QString::fromUtf16(c.magnet));
}

INSTANTIATE_TEST_SUITE_P(
    Table, ReadData,
    ::testing::Values(
        ReadCase{u"{\"id\":\"77\", \"poster_path\":\"http://x/p.jpg\"}", u"77", u"http://x/p.jpg"},
        ReadCase{u"{\"id\":\"77\", \"poster_path\":\"\", \"magnet\":\"magnet:?dn=id_4D&xt=1\"}",
                 u"77", u"", u"magnet:?dn=id_4D&xt=1"},
        // A magnet that does not name the same release, or is no magnet, is not kept.
        ReadCase{u"{\"id\":\"77\", \"magnet\":\"magnet:?dn=id_4E&xt=1\"}", u"77", u""},
        ReadCase{u"{\"id\":\"77\", \"magnet\":\"javascript:dn=id_4D&\"}", u"77", u""},
        ReadCase{u"{\"poster_path\":\"p\",\"TorrServer\":{\"Files\":[]}}", u"", u"p"},
        // The server's own data: the file list of a torrent saved without data of the client's.
        ReadCase{u"{\"TorrServer\":{\"Files\":[{\"id\":1,\"path\":\"a.mkv\",\"length\":1}]}}", u"",
                 u""},
        ReadCase{u"{\"id\":77}", u"", u""}, ReadCase{u"{\"id\":\"7a\"}", u"", u""},
        ReadCase{u"{\"id\":\"1234567890\"}", u"", u""}, ReadCase{u"{\"id\":\"\"}", u"", u""},
        ReadCase{u"{\"poster_path\":[1]}", u"", u""}, ReadCase{u"[\"id\"]", u"", u""},
        ReadCase{u"id=77", u"", u""}, ReadCase{u"{\"id\":\"77\"", u"", u""},
        ReadCase{u"", u"", u""}));

TEST(ReleaseData, TheFileListGoesBesideTheClientsData) {
    const auto files = nlohmann::ordered_json::parse(R"([{"id":1,"path":"a.mkv","length":7}])");
    const std::optional<QString> data =
        dataWithFiles(u"{\"id\":\"77\", \"poster_path\":\"p\"}"_s, files);
    ASSERT_TRUE(data);
    EXPECT_EQ(*data, u"{\"id\":\"77\",\"poster_path\":\"p\",\"TorrServer\":{\"Files\":[{\"id\":1,"
                     u"\"path\":\"a.mkv\",\"length\":7}]}}"_s);
    EXPECT_EQ(readReleaseData(*data).releaseId, u"77"_s);
    // Not the client's data, or files there already: nothing to write.
    EXPECT_FALSE(dataWithFiles({}, files));
    EXPECT_FALSE(dataWithFiles(u"{\"TorrServer\":{\"Files\":[]}}"_s, files));
    EXPECT_FALSE(dataWithFiles(*data, files));
    EXPECT_FALSE(dataWithFiles(u"{\"id\":\"77\"}"_s, nlohmann::ordered_json::object()));
}

struct MarkerCase {
    const char16_t* link;
    const char16_t* without;
    const char16_t* id;
};

class ReleaseMarker : public ::testing::TestWithParam<MarkerCase> {};

TEST_P(ReleaseMarker, LeavesTheLinkWithItsIdInDecimal) {
    const MarkerCase& c = GetParam();
    const MarkedLink marked = takeReleaseMarker(QString::fromUtf16(c.link));
    EXPECT_EQ(marked.link, QString::fromUtf16(c.without));
    EXPECT_EQ(marked.releaseId, QString::fromUtf16(c.id));
}

INSTANTIATE_TEST_SUITE_P(
    Table, ReleaseMarker,
    ::testing::Values(
        MarkerCase{u"magnet:?xt=urn:btih:ab&dn=id_4D&tr=udp%3A%2F%2Ft",
                   u"magnet:?xt=urn:btih:ab&tr=udp%3A%2F%2Ft", u"77"},
        MarkerCase{u"magnet:?dn=id_FF&xt=urn:btih:ab", u"magnet:?xt=urn:btih:ab", u"255"},
        // Without the "&" after it the id is not the client's marker.
        MarkerCase{u"magnet:?xt=urn:btih:ab&dn=id_4D", u"magnet:?xt=urn:btih:ab&dn=id_4D", u""},
        MarkerCase{u"magnet:?xt=urn:btih:ab&dn=Film&tr=x", u"magnet:?xt=urn:btih:ab&dn=Film&tr=x",
                   u""},
        MarkerCase{u"magnet:?xt=urn:btih:ab&dn=id_ZZ&tr=x", u"magnet:?xt=urn:btih:ab&dn=id_ZZ&tr=x",
                   u""},
        // Inside another parameter's value the marker stays; the id is still the link's.
        MarkerCase{u"magnet:?xt=urn:btih:ab&xdn=id_4D&tr=x",
                   u"magnet:?xt=urn:btih:ab&xdn=id_4D&tr=x", u"77"}));
} // namespace
} // namespace qb::connection::today
