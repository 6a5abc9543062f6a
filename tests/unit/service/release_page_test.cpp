// Release pages as the client reads them: its page builder (the magnet, the poster, the
// fields), its series check's file count and its series update's magnet.
#include "sample_releases.h"

#include "core/release_page.h"
#include "lists/text/announced_count.h"
#include "releaseinfo/page/release_page.h"
#include "search/adding/release_magnet.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using qb::service::Release;
using qb::service::test::sampleRelease;

namespace {

const qb::service::PageContext kContext{"http://127.0.0.1:8091", qb::service::test::kTrackerDomain};
const qb::releaseinfo::PageHosts kHosts{u"http://127.0.0.1:8091"_s, u"img.tracker.example"_s,
                                        u"www.filmdb.example"_s};

QString pageOf(std::uint32_t id, const Release& release) {
    return QString::fromStdString(qb::service::releasePage(kContext, id, release));
}

TEST(ReleasePage, TheClientFindsMagnetPosterAndFields) {
    Release release = sampleRelease("Сияние севера / Aurora Station (2023) WEB-DL 1080p");
    release.poster = "https://img.example/posters/310455.jpg";
    release.year = 2023;
    release.genre = "драма, детектив";
    release.description = "На станции пропадает метеоролог.";
    release.files = 10;
    const QString answer = pageOf(310455, release);
    const auto page = qb::releaseinfo::buildReleasePage(answer, kHosts);
    EXPECT_EQ(page.magnet,
              u"magnet:?xt=urn:btih:" + QString(40, u'a') +
                  u"&amp;dn=tracker.example_310455&amp;tr=http%3a%2f%2fbt.example%2f"
                  u"announce%3fk%3d%55p%20%50%44%46&amp;tr=udp%3a%2f%2fopen.example%3a6969"_s);
    EXPECT_EQ(page.posterUrl, u"https://img.example/posters/310455.jpg"_s);
    for (const QString& shown :
         {u"<b>Сияние севера / Aurora Station (2023) WEB-DL 1080p</b>"_s, u"Год выхода:</b> 2023"_s,
          u"Раздают:</b> 10"_s, u"Качают:</b> 3"_s, u"Размер:</b> 10.23 GB"_s,
          u"Добавлен:</b> 2024-04-24"_s, u"Жанр:</b> драма, детектив"_s,
          u"Описание: </b> На станции пропадает метеоролог."_s}) {
        EXPECT_TRUE(page.html.contains(shown)) << shown.toStdString();
    }
    EXPECT_EQ(qb::lists::announcedFileCount(answer), 10);
}

TEST(ReleasePage, WithoutAPosterThePlaceholderIsTheFirstImage) {
    const auto page = qb::releaseinfo::buildReleasePage(pageOf(7, sampleRelease("Film")), kHosts);
    EXPECT_EQ(page.posterUrl, u"http://127.0.0.1:8091/no-poster.jpg"_s);
}

TEST(ReleasePage, AnUnknownFileCountIsNotReadAsOne) {
    // Without a count, the series check must not take a number from the title instead.
    for (const std::string& title :
         {std::string("Series (2023) S01 (10 серий)"), std::string("displayfiles (99)")}) {
        Release release = sampleRelease(title);
        release.files = -1;
        EXPECT_EQ(qb::lists::announcedFileCount(pageOf(9, release)), std::nullopt) << title;
        release.files = 8;
        EXPECT_EQ(qb::lists::announcedFileCount(pageOf(9, release)), 8) << title;
    }
}

TEST(ReleasePage, QuotesAndMarkupInTheTitleLeaveTheMagnetIntact) {
    for (const std::string& title :
         {std::string("A \"quoted\" title"), std::string("<img src=\"x\">\">"),
          std::string("tr=\"&amp;<tr>")}) {
        const QString answer = pageOf(77, sampleRelease(title));
        const auto page = qb::releaseinfo::buildReleasePage(answer, kHosts);
        EXPECT_TRUE(page.magnet.startsWith(u"magnet:?xt=urn:btih:"_s)) << title;
        EXPECT_TRUE(page.magnet.contains(u"dn=tracker.example_77&amp;"_s)) << title;
        EXPECT_EQ(page.posterUrl, u"http://127.0.0.1:8091/no-poster.jpg"_s) << title;
        EXPECT_FALSE(page.html.contains(u"<img src=\"x\">"_s)) << title;
    }
}

TEST(ReleasePage, ASeriesUpdateAddsTheCurrentReleaseUnderItsId) {
    const auto page = qb::releaseinfo::buildReleasePage(pageOf(310455, sampleRelease("S")), kHosts);
    const auto magnet =
        qb::search::updatedReleaseMagnet(page.magnet, u"310455", u"tracker.example");
    ASSERT_TRUE(magnet);
    EXPECT_EQ(*magnet, u"magnet:?xt=urn:btih:" + QString(40, u'a') +
                           u"&dn=id_4BCB7&tr=http%3a%2f%2fbt.example%2fannounce%3fk%3d%55p%20%50%44"
                           u"%46&tr=udp%3a%2f%2fopen.example%3a6969"_s);
}

} // namespace
