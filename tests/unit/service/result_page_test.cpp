// Result pages as the client reads them: every page goes through the client's own preparation
// of the answer (text search, top list, category) and its row parser.
#include "sample_releases.h"

#include "core/result_page.h"
#include "search/adding/release_magnet.h"
#include "search/query/service_queries.h"
#include "search/results/result_parser.h"

#include <gtest/gtest.h>

#include <functional>

using namespace Qt::Literals::StringLiterals;
using qb::search::DisplayMode;
using qb::search::SearchRecord;
using qb::service::ListedRelease;
using qb::service::Release;
using qb::service::test::sampleRelease;

namespace {

const qb::service::PageContext kContext{"http://127.0.0.1:8091", qb::service::test::kTrackerDomain};

QString q(const std::string& text) {
    return QString::fromStdString(text);
}

std::vector<SearchRecord> readAsTextSearch(const std::vector<ListedRelease>& rows,
                                           DisplayMode mode = DisplayMode::Normal) {
    // The client joins both pages of a text search; the second one here lists nothing.
    const std::string answer = qb::service::resultPage(kContext, "поиск", rows) +
                               qb::service::resultPage(kContext, "поиск", {});
    return qb::search::parseResultLines(qb::search::prepareTextAnswer(q(answer)), mode);
}

TEST(ResultPage, EveryRowIsReadWithItsFields) {
    Release release = sampleRelease("Северное сияние / Northern Lights (2019) BDRip 1080p");
    const auto records = readAsTextSearch({{107187, release}});
    ASSERT_EQ(records.size(), 1u);
    const SearchRecord& record = records[0];
    EXPECT_EQ(record.Title, u"Северное сияние / Northern Lights (2019) BDRip 1080p"_s);
    EXPECT_EQ(record.PagePath, u"/torrent/107187/northern-lights-2019-bdrip-1080p"_s);
    EXPECT_EQ(record.Size, u"10.23 ГБ"_s);
    EXPECT_EQ(record.Seeders, u"10"_s);
    EXPECT_EQ(record.Leechers, u"3"_s);
    EXPECT_TRUE(record.Magnet.startsWith(u"magnet:?xt=urn:btih:" + QString(40, u'a') +
                                         u"&amp;dn=tracker.example&amp;tr="));
    EXPECT_EQ(qb::search::displayLine(record, DisplayMode::Normal),
              u"Северное сияние / Northern Lights (2019) BDRip 1080p - 10.23 ГБ [10/3]"_s);
}

TEST(ResultPage, SizesAndCountsAsTheClientShowsThem) {
    struct Case {
        std::int64_t bytes;
        int seeders;
        int leechers;
        QString size;
        QString seederText;
        QString leecherText;
    };
    const Case cases[] = {
        {10'987'654'321, 125, 7, u"10.23 ГБ"_s, u"125"_s, u"7"_s},
        {734'003'200, 0, 0, u"700.00 MB"_s, u"0"_s, u"0"_s},
        {5'000, 1, 2, u"4.88 kB"_s, u"1"_s, u"2"_s},
        // Unknown: the client still reads a number of seeders (it plays by it).
        {-1, -1, -1, u"?"_s, u"0"_s, u"0"_s},
    };
    for (const Case& c : cases) {
        Release release = sampleRelease("Film 1080p");
        release.sizeBytes = c.bytes;
        release.seeders = c.seeders;
        release.leechers = c.leechers;
        const auto records = readAsTextSearch({{1, release}});
        ASSERT_EQ(records.size(), 1u) << c.bytes;
        EXPECT_EQ(records[0].Size, c.size);
        EXPECT_EQ(records[0].Seeders, c.seederText);
        EXPECT_EQ(records[0].Leechers, c.leecherText);
    }
}

TEST(ResultPage, TitlesStayTextWhateverTheyHold) {
    struct Case {
        std::string title;
        QString listed; // the client decodes "&amp;" and nothing else
    };
    const Case cases[] = {
        {"Tom & Jerry", u"Tom & Jerry"_s},
        {"A <b>bold</b> <script>x()</script>",
         u"A &lt;b&gt;bold&lt;/b&gt; &lt;script&gt;x()&lt;/script&gt;"_s},
        {"Ends the row </span></td></tr> early",
         u"Ends the row &lt;/span&gt;&lt;/td&gt;&lt;/tr&gt; early"_s},
        {"Quote \"x\" and it's", u"Quote \"x\" and it's"_s},
        {"Fake ht\"> S\"> red\"> markers", u"Fake ht\"&gt; S\"&gt; red\"&gt; markers"_s},
        {"Пиры</td></tr> header marker", u"Пиры&lt;/td&gt;&lt;/tr&gt; header marker"_s},
        {"&amp; stays", u"&amp; stays"_s},
    };
    for (const Case& c : cases) {
        const auto records =
            readAsTextSearch({{5, sampleRelease(c.title)}, {6, sampleRelease("Next", 'b')}});
        ASSERT_EQ(records.size(), 2u) << c.title;
        EXPECT_EQ(records[0].Title, c.listed) << c.title;
        EXPECT_EQ(records[0].Seeders, u"10"_s) << c.title;
        EXPECT_EQ(records[1].Title, u"Next"_s) << c.title;
    }
}

TEST(ResultPage, OnlyTheTitleDecidesWhichRowsTheClientDrops) {
    // Hashes and trackers in capitals would hold "FB2", "PDF" and the like; the page writes
    // neither in capitals.
    Release release = sampleRelease("Film 1080p", 'a');
    release.hash = "fb2" + std::string(37, '0');
    release.trackers = {"http://PDF.JPG.example/FB2/announce", "udp://x.example:1/) PC"};
    Release book = sampleRelease("Книга (2020) PDF", 'c');
    const auto records = readAsTextSearch({{1, release}, {2, book}});
    ASSERT_EQ(records.size(), 1u);
    EXPECT_TRUE(records[0].Magnet.contains(u"btih:fb2"_s));
    EXPECT_EQ(records[0].Magnet, records[0].Magnet.toLower());
}

TEST(ResultPage, TheResolutionFilterSeesTheTitle) {
    const auto records = readAsTextSearch({{1, sampleRelease("A 2160p", 'a')},
                                           {2, sampleRelease("B 720p", 'b')},
                                           {3, sampleRelease("C 1080i", 'c')}},
                                          DisplayMode::Fhd);
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].Title, u"A 2160p"_s);
    EXPECT_EQ(records[1].Title, u"C 1080i"_s);
}

TEST(ResultPage, TopAndCategoryPagesAreReadRowByRow) {
    std::vector<ListedRelease> rows;
    for (int i = 0; i < 100; ++i) {
        rows.push_back({static_cast<std::uint32_t>(1000 + i),
                        sampleRelease("Release " + std::to_string(i), 'a', 100 - i)});
        rows.back().release.hash = std::string(38, 'd') + std::to_string(10 + i);
    }
    const QString page = q(qb::service::resultPage(kContext, "Топ", rows));
    const std::function<QStringList(QString)> preparations[] = {qb::search::prepareTopAnswer,
                                                                qb::search::prepareCategoryAnswer,
                                                                qb::search::prepareTextAnswer};
    for (const auto& prepare : preparations) {
        const auto records = qb::search::parseResultLines(prepare(page), DisplayMode::Normal);
        ASSERT_EQ(records.size(), rows.size());
        for (std::size_t i = 0; i < rows.size(); ++i) {
            EXPECT_EQ(qb::search::releaseIdOfPagePath(records[i].PagePath),
                      QString::number(rows[i].id));
            EXPECT_EQ(records[i].Seeders, QString::number(100 - static_cast<int>(i)));
        }
    }
}

TEST(ResultPage, AnAddedRowGetsItsReleaseIdAsDisplayName) {
    const auto records = readAsTextSearch({{255, sampleRelease("Film")}});
    ASSERT_EQ(records.size(), 1u);
    const auto link =
        qb::search::addedReleaseLink(records[0].Magnet, records[0].PagePath, u"tracker.example");
    ASSERT_TRUE(link);
    EXPECT_EQ(link->releaseId, u"255"_s);
    EXPECT_EQ(link->magnet,
              u"magnet:?xt=urn:btih:" + QString(40, u'a') +
                  u"&dn=id_FF&tr=http%3a%2f%2fbt.example%2fannounce%3fk%3d%55p%20%50%44%46"
                  u"&tr=udp%3a%2f%2fopen.example%3a6969"_s);
}

TEST(ResultPage, AnEmptyPageListsNothing) {
    EXPECT_TRUE(readAsTextSearch({}).empty());
    const QString page = q(qb::service::resultPage(kContext, "<i>heading</i>", {}));
    EXPECT_FALSE(page.contains(u"<i>"_s));
    EXPECT_TRUE(page.contains(u"Пиры</td></tr>"_s));
}

TEST(ResultPage, PathNamesAndDates) {
    EXPECT_EQ(qb::service::pathName("Северное сияние / Northern Lights (2019) BDRip 1080p"),
              "northern-lights-2019-bdrip-1080p");
    EXPECT_EQ(qb::service::pathName("Фильм"), "release");
    EXPECT_EQ(qb::service::pathName(std::string(200, 'X')).size(), 80u);
    EXPECT_EQ(qb::service::rowDate(1'714'000'000), "24 Апр 24");
    EXPECT_EQ(qb::service::rowDate(0), "");
}

} // namespace
