#include "connection/http/request_bodies.h"
#include "search/adding/poster_check.h"
#include "search/adding/release_magnet.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kDomain = u"tracker.example"_s;
const QString kBase = u"http://127.0.0.1:8091"_s;

TEST(ReleaseMagnet, HexadecimalIds) {
    const std::pair<QString, std::optional<QString>> cases[] = {
        {u"77"_s, u"4D"_s},      {u"255"_s, u"FF"_s},
        {u"0"_s, u"0"_s},        {u"107187"_s, u"1A2B3"_s},
        {u"007"_s, u"7"_s},      {QString(), std::nullopt},
        {u"-5"_s, std::nullopt}, {u"12a"_s, std::nullopt},
        {u" 7"_s, std::nullopt}, {u"1234567890123456789"_s, std::nullopt},
    };
    for (const auto& [id, hex] : cases) {
        EXPECT_EQ(qb::search::hexReleaseId(id), hex) << id.toStdString();
    }
}

TEST(ReleaseMagnet, ReleaseIdOfPagePath) {
    EXPECT_EQ(qb::search::releaseIdOfPagePath(u"/torrent/77/q"), u"77"_s);
    EXPECT_EQ(qb::search::releaseIdOfPagePath(u"/torrent/77/q", u"nt/"), u"77"_s);
    EXPECT_EQ(qb::search::releaseIdOfPagePath(u"/torrent/77"), QString());
}

TEST(ReleaseMagnet, AddedResultGoesOutWithItsIdAndHexDisplayName) {
    const auto link = qb::search::addedReleaseLink(
        u"magnet:?xt=urn:btih:AB&amp;dn=tracker.example&AMP;tr=http%3A%2F%2Fbt"_s,
        u"/torrent/255/x", kDomain);
    ASSERT_TRUE(link);
    EXPECT_EQ(link->releaseId, u"255"_s);
    EXPECT_EQ(link->magnet, u"magnet:?xt=urn:btih:AB&dn=id_FF&tr=http%3A%2F%2Fbt"_s);
    EXPECT_EQ(qb::connection::infoBody(link->magnet, link->releaseId, kBase + u"/no-poster.jpg"_s),
              QByteArray("{\"link\":\"magnet:?xt=urn:btih:AB&dn=id_FF&tr=http%3A%2F%2Fbt\","
                         "\"Info\":\"{\\\"id\\\":\\\"255\\\", \\\"poster_path\\\":\\\""
                         "http://127.0.0.1:8091/no-poster.jpg\\\"}\"}"));
    // The domain is matched in any case.
    EXPECT_EQ(qb::search::addedReleaseLink(u"magnet:?xt=1&dn=TRACKER.example"_s, u"/torrent/77/q",
                                           kDomain)
                  ->magnet,
              u"magnet:?xt=1&dn=id_4D"_s);
    EXPECT_FALSE(qb::search::addedReleaseLink(u"magnet:?xt=1"_s, u"/torrent/x7/q", kDomain));
    EXPECT_FALSE(qb::search::addedReleaseLink(u"magnet:?xt=1"_s, u"/torrent/77", kDomain));
}

struct UpdateCase {
    const char* name;
    QString infoMagnet;
    QString magnet;
};

class UpdateMode : public ::testing::TestWithParam<UpdateCase> {};

TEST_P(UpdateMode, DisplayNameBecomesTheHexId) {
    EXPECT_EQ(qb::search::updatedReleaseMagnet(GetParam().infoMagnet, u"255", kDomain),
              GetParam().magnet);
}

INSTANTIATE_TEST_SUITE_P(
    Magnets, UpdateMode,
    ::testing::Values(
        UpdateCase{"NameRunsOnToTheTrackers",
                   u"magnet:?xt=urn:btih:AB&amp;dn=tracker.example_255_Film&amp;tr=http%3A%2F%2Fa"
                   u"&amp;tr=udp%3A%2F%2Fb"_s,
                   u"magnet:?xt=urn:btih:AB&dn=id_FF&tr=http%3A%2F%2Fa&tr=udp%3A%2F%2Fb"_s},
        UpdateCase{"OtherParametersBeforeTheTrackersGo",
                   u"magnet:?xt=urn:btih:AB&dn=tracker.example_255&xl=10&tr=t"_s,
                   u"magnet:?xt=urn:btih:AB&dn=id_FF&tr=t"_s},
        // Without trackers the name runs on to the end: the link ends with the id.
        UpdateCase{"NameRunsOnToTheEnd",
                   u"magnet:?xt=urn:btih:AB&amp;dn=tracker.example_255_Film"_s,
                   u"magnet:?xt=urn:btih:AB&dn=id_FF"_s},
        // A link of another form keeps everything but its display name.
        UpdateCase{"ForeignDisplayName", u"magnet:?xt=urn:btih:AB&dn=Film&tr=t"_s,
                   u"magnet:?xt=urn:btih:AB&dn=id_FF&tr=t"_s},
        UpdateCase{"NoDisplayName", u"magnet:?xt=urn:btih:AB"_s,
                   u"magnet:?xt=urn:btih:AB&dn=id_FF"_s}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ReleaseMagnet, UpdateNeedsADecimalId) {
    EXPECT_FALSE(
        qb::search::updatedReleaseMagnet(u"magnet:?xt=1&dn=tracker.example_1"_s, u"", kDomain));
    EXPECT_FALSE(
        qb::search::updatedReleaseMagnet(u"magnet:?xt=1&dn=tracker.example_1"_s, u"1F", kDomain));
}

TEST(PosterCheck, FallsBackToThePlaceholder) {
    const QString poster = u"http://img.tracker.example/p/1.jpg"_s;
    EXPECT_EQ(qb::search::posterCheckAddress(kBase, poster),
              kBase + u"/check_poster.php?url=http://img.tracker.example/p/1.jpg"_s);
    EXPECT_EQ(qb::search::checkedPoster(kBase, poster, true, "1"), poster);
    EXPECT_EQ(qb::search::checkedPoster(kBase, poster, true, ""), kBase + u"/no-poster.jpg"_s);
    EXPECT_EQ(qb::search::checkedPoster(kBase, poster, false, ""), kBase + u"/no-poster.jpg"_s);
    EXPECT_EQ(qb::search::checkedPoster(kBase, QString(), true, ""), kBase + u"/no-poster.jpg"_s);
}

} // namespace
