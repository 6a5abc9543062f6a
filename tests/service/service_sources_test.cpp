// The search service (quillbrook-service) as a running program, fed by the stand-in Torznab
// indexer and today's stand-in TorrServer: every path, merged results read back with the
// client's own parsers, release ids across restarts, and sources that fail.
#include "search_service_rig.h"

#include "build_config.h"
#include "lists/text/announced_count.h"
#include "releaseinfo/page/release_page.h"
#include "search/query/service_queries.h"
#include "search/results/result_parser.h"

#include <gtest/gtest.h>

#include <QRegularExpression>

#include <algorithm>
#include <chrono>
#include <set>
#include <thread>

using namespace Qt::Literals::StringLiterals;
using qb::search::SearchRecord;
using qb::testing::SearchServiceRig;

namespace {

QString q(const std::string& text) {
    return QString::fromStdString(text);
}

std::string s(const QString& text) {
    return text.toStdString();
}

// The client's "Сервер поиска не отвечает" comes 3 s after a page was asked for without a byte.
constexpr auto kClientPatience = std::chrono::milliseconds(3000);

class ServiceWithSources : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(rig.start()) << rig.error(); }

    // Both pages of a text search, read as the client reads them.
    std::vector<SearchRecord> search(const std::string& text) {
        const auto first = rig.searchPage(text, 0);
        const auto second = rig.searchPage(text, 1);
        EXPECT_EQ(first.status, 200);
        EXPECT_EQ(second.status, 200);
        return qb::search::parseResultLines(
            qb::search::prepareTextAnswer(q(first.body + second.body)),
            qb::search::DisplayMode::Normal);
    }

    std::vector<SearchRecord> listing(const std::string& what) {
        const auto page =
            rig.get(std::string("/get.php?secret=") + SearchServiceRig::kSecret + "&q=" + what);
        EXPECT_EQ(page.status, 200) << what;
        const QStringList lines = what == "top" ? qb::search::prepareTopAnswer(q(page.body))
                                                : qb::search::prepareCategoryAnswer(q(page.body));
        return qb::search::parseResultLines(lines, qb::search::DisplayMode::Normal);
    }

    static std::vector<std::string> titles(const std::vector<SearchRecord>& records) {
        std::vector<std::string> out;
        for (const SearchRecord& record : records) {
            out.push_back(s(record.Title));
        }
        return out;
    }

    static std::string idOf(const SearchRecord& record) {
        return s(record.PagePath.section(u'/', 2, 2));
    }

    static std::string hashOf(const SearchRecord& record) {
        static const QRegularExpression kHash(u"btih:([0-9A-Za-z]+)"_s);
        return s(kHash.match(record.Magnet).captured(1));
    }

    SearchServiceRig::Answer releasePage(const std::string& id) {
        return rig.get(std::string("/get_info.php?secret=") + SearchServiceRig::kSecret +
                       "&id=" + id);
    }

    // Waits for a line of the service's log holding `text`.
    bool logHolds(const std::string& text) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (std::chrono::steady_clock::now() < deadline) {
            if (rig.logText().find(text) != std::string::npos) {
                return true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return false;
    }

    SearchServiceRig rig;
};

TEST_F(ServiceWithSources, EveryPathOfTheClientAnswers) {
    const auto version = rig.get("/version.txt");
    EXPECT_EQ(version.status, 200);
    // The bare version: the client takes "1.8.4\n" for no version at all.
    EXPECT_EQ(version.body, qb::build::kAppVersion);

    const auto noPoster = rig.get("/no-poster.jpg");
    EXPECT_EQ(noPoster.contentType, "image/jpeg");
    EXPECT_TRUE(noPoster.body.starts_with("\xFF\xD8\xFF"));
    const auto error404 = rig.get("/error_404.png");
    EXPECT_EQ(error404.contentType, "image/png");
    EXPECT_TRUE(error404.body.starts_with("\x89PNG\r\n"));

    // The idle page names the sources it searches.
    const auto idle = rig.get("/abt.need");
    EXPECT_EQ(idle.status, 200);
    EXPECT_NE(idle.body.find(rig.indexer.baseUrl() + "/api"), std::string::npos);
    EXPECT_NE(idle.body.find(rig.torrServer->baseUrl()), std::string::npos);
    EXPECT_EQ(idle.body.find("standin-key"), std::string::npos) << "the apikey is not shown";

    // A release the service never listed has no page; a request without the client's token
    // is refused.
    EXPECT_EQ(releasePage("123456").status, 404);
    EXPECT_EQ(rig.get("/get.php?q=top").status, 403);

    // A web page reaching the service through a name of its own (DNS rebinding) is refused.
    for (const auto& [host, status] :
         {std::pair{"evil.example", "403"}, std::pair{"127.0.0.1.evil.example", "403"},
          std::pair{"localhost:8091", "200"}}) {
        const std::string answer =
            rig.service.rawExchange(std::string("GET /version.txt HTTP/1.1\r\nHost: ") + host +
                                    "\r\nConnection: close\r\n\r\n");
        EXPECT_TRUE(answer.starts_with(std::string("HTTP/1.1 ") + status)) << host << answer;
    }
}

TEST_F(ServiceWithSources, TextSearchMergesBothSourcesByInfoHash) {
    const auto records = search("ледяной маяк");
    // The indexer's WEB-DL release, which TorrServer also lists, once (with the indexer's
    // counts, the higher); TorrServer's own BDRip release; most seeders first.
    EXPECT_EQ(titles(records),
              (std::vector<std::string>{"Ледяной маяк / The Ice Lighthouse (2023) WEB-DL 1080p",
                                        "Ледяной маяк / The Ice Lighthouse (2023) BDRip 1080p",
                                        "Ледяной маяк (1 сезон, серии 1-8 из 10) WEB-DL 720p",
                                        "Ледяной маяк / The Ice Lighthouse (2023) 2160p HDR"}));
    ASSERT_EQ(records.size(), 4u);
    EXPECT_EQ(s(records[0].Seeders), "120");
    EXPECT_EQ(s(records[0].Leechers), "14");
    EXPECT_EQ(s(records[0].Size), "4.37 ГБ");
    EXPECT_EQ(s(records[1].Seeders), "61");
    std::set<std::string> hashes;
    std::set<std::string> ids;
    for (const SearchRecord& record : records) {
        const std::string hash = hashOf(record);
        EXPECT_EQ(hash.size(), 40u);
        // Lower case: the client drops rows holding "FB2" and the like anywhere.
        EXPECT_TRUE(std::ranges::none_of(hash, [](char c) { return c >= 'A' && c <= 'Z'; }))
            << hash;
        hashes.insert(hash);
        EXPECT_TRUE(record.Magnet.contains(u"&amp;dn=tracker.example"_s)) << s(record.Magnet);
        EXPECT_TRUE(record.PagePath.startsWith(u"/torrent/"_s)) << s(record.PagePath);
        const std::string id = idOf(record);
        EXPECT_TRUE(!id.empty() && id.size() < 10 && std::ranges::all_of(id, [](char c) {
            return c >= '0' && c <= '9';
        })) << id;
        ids.insert(id);
    }
    EXPECT_EQ(hashes.size(), records.size());
    EXPECT_EQ(ids.size(), records.size());
}

TEST_F(ServiceWithSources, TorrServerGetsTheTextAsTyped) {
    // TorrServer unescapes its query twice: a "%" sent once-escaped would break the second
    // unescape, and its indexers' route would list everything for the empty text left.
    EXPECT_EQ(titles(search("ночь %")), (std::vector<std::string>{"Полярная ночь (2010) DVDRip"}));
}

TEST_F(ServiceWithSources, MarkupOfASourceTitleStaysText) {
    const auto page = rig.searchPage("шторм", 0);
    ASSERT_EQ(page.status, 200);
    EXPECT_EQ(page.body.find("<b>"), std::string::npos);
    EXPECT_NE(page.body.find("&lt;b&gt;"), std::string::npos);
    const auto records = search("шторм");
    ASSERT_EQ(records.size(), 1u);
    const auto release = releasePage(idOf(records[0]));
    ASSERT_EQ(release.status, 200);
    EXPECT_EQ(release.body.find("<b>&amp;"), std::string::npos);
    EXPECT_NE(release.body.find("&lt;b&gt;"), std::string::npos);
}

TEST_F(ServiceWithSources, ReleasePagesAndIdsOutliveARestart) {
    const auto before = search("ледяной маяк");
    ASSERT_EQ(before.size(), 4u);
    const auto series = std::ranges::find_if(
        before, [](const SearchRecord& r) { return r.Title.contains(u"сезон"_s); });
    ASSERT_NE(series, before.end());

    // The service restarts with no source at all: the pages answer from its state file alone,
    // as the torrent list and the series check ask for them, cold.
    rig.service.stop();
    ASSERT_TRUE(rig.startService({}, false)) << rig.error();
    const auto page = releasePage(idOf(*series));
    ASSERT_EQ(page.status, 200);
    EXPECT_EQ(qb::lists::announcedFileCount(q(page.body)), 8);
    const auto built = qb::releaseinfo::buildReleasePage(
        q(page.body), {q(rig.service.baseUrl()), u"img.tracker.example"_s, u"db.example"_s});
    EXPECT_TRUE(built.magnet.contains(q(hashOf(*series))));
    EXPECT_TRUE(built.magnet.contains(u"dn=tracker.example_"_s + q(idOf(*series))));
    EXPECT_TRUE(built.html.contains(series->Title));

    // The same releases keep their ids in a new search after the restart.
    rig.service.stop();
    ASSERT_TRUE(rig.startService()) << rig.error();
    const auto after = search("ледяной маяк");
    ASSERT_EQ(after.size(), before.size());
    for (std::size_t i = 0; i < before.size(); ++i) {
        EXPECT_EQ(after[i].PagePath, before[i].PagePath);
    }
}

TEST_F(ServiceWithSources, PosterOfAListedReleaseIsChecked) {
    const auto records = search("ice lighthouse web-dl");
    ASSERT_FALSE(records.empty());
    const auto page = releasePage(idOf(records[0]));
    const auto built = qb::releaseinfo::buildReleasePage(
        q(page.body), {q(rig.service.baseUrl()), u"img.tracker.example"_s, u"db.example"_s});
    EXPECT_EQ(s(built.posterUrl), rig.indexerPoster());
    EXPECT_EQ(rig.get("/check_poster.php?url=" + s(built.posterUrl)).body, "1");
    // An address the client cannot add as it stands is refused.
    EXPECT_EQ(rig.get("/check_poster.php?url=ftp://x.example/p.jpg").body, "");
}

TEST_F(ServiceWithSources, TopListAndCategoriesFromTheNewestReleases) {
    // The top list: releases of the last 24 hours, most seeders first.
    EXPECT_EQ(titles(listing("top")),
              (std::vector<std::string>{"Ледяной маяк / The Ice Lighthouse (2023) WEB-DL 1080p",
                                        "Frost Signal (2024) 1080p BluRay",
                                        "Ледяной маяк (1 сезон, серии 1-8 из 10) WEB-DL 720p",
                                        "Полярные медведи / Polar Bears (2020) 1080p",
                                        "Снежный городок (2022) мультфильм WEB-DL 1080p"}));
    struct Case {
        std::string slug;
        std::vector<std::string> titles; // newest first
    };
    const Case cases[] = {
        {"kino",
         {"Ледяной маяк / The Ice Lighthouse (2023) WEB-DL 1080p",
          "Ледяной маяк / The Ice Lighthouse (2023) 2160p HDR",
          // The client shows a title's entities but "&amp;" as they come.
          "Маяк &lt;b&gt;&amp; \"шторм\"&lt;/b&gt; (2021) HDRip"}},
        // TorrServer's indexers give no categories: a release only they know is on a shelf
        // only when its title names its kind (its DVDRip does not).
        {"nashe_kino", {}},
        {"nashi_seriali", {"Ледяной маяк (1 сезон, серии 1-8 из 10) WEB-DL 720p"}},
        {"nauchno_popularnoe", {"Полярные медведи / Polar Bears (2020) 1080p"}},
        {"multiki", {"Снежный городок (2022) мультфильм WEB-DL 1080p"}},
        {"inostrannoe", {"Frost Signal (2024) 1080p BluRay"}},
        {"anime", {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(titles(listing(c.slug)), c.titles) << c.slug;
    }
}

TEST_F(ServiceWithSources, AFailingIndexerGivesTheOtherSourcesResultsInTime) {
    struct Case {
        const char* what;
        nlohmann::json fault;
        std::string text;    // a text of its own, so that no earlier search is reused
        std::string logLine; // what the log says of the indexer; empty: nothing in time
    };
    const Case cases[] = {
        {"a wrong apikey", {{"status", 401}}, "ледяной", "apikey"},
        {"malformed XML",
         {{"body", "<rss><channel><item><title>x</tit"}},
         "маяк",
         "not well-formed XML"},
        {"not XML", {{"body", "{\"json\": true}"}}, "lighthouse", "not XML"},
        {"an endless answer", {{"huge", true}}, "ice lighthouse", "larger than"},
        {"an answer that never ends", {{"drip", true}}, "the ice", ""},
        {"a slow answer", {{"delayMs", 20000}}, "lighthouse 1080p", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(rig.indexer.control({{"reset", true}}));
        ASSERT_TRUE(rig.indexer.control(c.fault));
        const auto asked = std::chrono::steady_clock::now();
        const auto page = rig.searchPage(c.text, 0);
        EXPECT_LT(std::chrono::steady_clock::now() - asked, kClientPatience);
        EXPECT_EQ(page.status, 200);
        // TorrServer's releases are listed, with its own counts; the indexer's are not.
        const auto records = qb::search::parseResultLines(
            qb::search::prepareTextAnswer(q(page.body)), qb::search::DisplayMode::Normal);
        EXPECT_EQ(titles(records), (std::vector<std::string>{
                                       "Ледяной маяк / The Ice Lighthouse (2023) BDRip 1080p",
                                       "Ледяной маяк / The Ice Lighthouse (2023) WEB-DL 1080p"}));
        if (!c.logLine.empty()) {
            EXPECT_TRUE(logHolds("Torznab " + rig.indexer.baseUrl() + "/api: \"" + c.text + "\": "))
                << rig.logText();
            EXPECT_NE(rig.logText().find(c.logLine), std::string::npos) << rig.logText();
        }
    }
    ASSERT_TRUE(rig.indexer.control({{"reset", true}}));
}

TEST(ServiceWithoutSources, AnswersTheVersionEmptyPagesAndHowToAddASource) {
    SearchServiceRig rig;
    ASSERT_TRUE(rig.startService()) << rig.error();
    EXPECT_EQ(rig.get("/version.txt").body, qb::build::kAppVersion);
    const auto page = rig.searchPage("ледяной маяк", 0);
    EXPECT_EQ(page.status, 200);
    EXPECT_TRUE(qb::search::parseResultLines(qb::search::prepareTextAnswer(q(page.body)),
                                             qb::search::DisplayMode::Normal)
                    .empty());
    const auto idle = rig.get("/abt.need");
    EXPECT_NE(idle.body.find(rig.settingsFile()), std::string::npos);

    // A source written into the settings file is used from then on, without a restart.
    {
        std::ofstream settings(rig.settingsFile());
        settings << "# added by hand\ntorznab = http://127.0.0.1:9/api?apikey=k\n";
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (rig.get("/abt.need").body.find("127.0.0.1:9/api") == std::string::npos &&
           std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    EXPECT_NE(rig.get("/abt.need").body.find("127.0.0.1:9/api"), std::string::npos);
}

} // namespace
