// The service's small pieces: merging, shelves, the top list, queries, sizes, texts, magnets
// and the sources' addresses.
#include "sample_releases.h"

#include "core/magnet.h"
#include "core/merging.h"
#include "core/plain_text.h"
#include "core/poster_address.h"
#include "core/service_query.h"
#include "core/shelves.h"
#include "core/size_text.h"
#include "core/source_address.h"

#include <gtest/gtest.h>

using namespace qb::service;
using qb::service::test::sampleRelease;

namespace {

std::vector<std::string> titles(const std::vector<Release>& releases) {
    std::vector<std::string> out;
    for (const Release& release : releases) {
        out.push_back(release.title);
    }
    return out;
}

TEST(Merging, OneReleasePerHashWithWhatEachSourceKnows) {
    Release a = sampleRelease("A", 'a', 5);
    a.poster = "";
    a.files = -1;
    Release b = sampleRelease("B", 'b', 50);
    std::vector<Release> merged{a, b};
    Release aAgain = sampleRelease("A elsewhere", 'a', 9);
    aAgain.poster = "https://img.example/a.jpg";
    aAgain.files = 12;
    aAgain.trackers = {"udp://other.example:1"};
    aAgain.categories = {5000};
    mergeInto(merged, {aAgain, sampleRelease("C", 'c', 7)});
    ASSERT_EQ(titles(merged), (std::vector<std::string>{"A", "B", "C"}));
    EXPECT_EQ(merged[0].seeders, 9);
    EXPECT_EQ(merged[0].poster, "https://img.example/a.jpg");
    EXPECT_EQ(merged[0].files, 12);
    EXPECT_EQ(merged[0].trackers.size(), 3u);
    EXPECT_EQ(merged[0].categories, (std::vector<int>{2000, 2040, 5000}));
    sortBySeeders(merged);
    EXPECT_EQ(titles(merged), (std::vector<std::string>{"B", "A", "C"}));
}

TEST(Merging, TheMostExactSizeWhicheverCameFirst) {
    // TorrServer's index writes "7.95 GB", its indexers "7.9 GCiB"; an indexer counts bytes.
    const std::pair<std::int64_t, int> sizes[] = {
        {8482560409, 1}, {8536186880, 2}, {8536186881, kSizeInBytes}};
    for (int first = 0; first < 3; ++first) {
        for (int second = 0; second < 3; ++second) {
            Release a = sampleRelease("A", 'a', 5);
            std::tie(a.sizeBytes, a.sizeExactness) = sizes[first];
            Release b = a;
            std::tie(b.sizeBytes, b.sizeExactness) = sizes[second];
            std::vector<Release> merged{a};
            mergeInto(merged, {b});
            ASSERT_EQ(merged.size(), 1u);
            EXPECT_EQ(merged[0].sizeBytes, sizes[std::max(first, second)].first)
                << first << " " << second;
        }
    }
    Release unknown = sampleRelease("A", 'a', 5);
    unknown.sizeBytes = -1;
    Release rounded = unknown;
    rounded.sizeBytes = 1000;
    rounded.sizeExactness = 0;
    std::vector<Release> merged{unknown};
    mergeInto(merged, {rounded});
    EXPECT_EQ(merged[0].sizeBytes, 1000);
}

TEST(Merging, TheTopOfTheDay) {
    const std::int64_t now = 1'800'000'000;
    std::vector<Release> releases;
    for (const auto& [title, age, seeders] :
         {std::tuple{"old", 3 * 86400, 900}, std::tuple{"fresh", 3600, 10},
          std::tuple{"fresher", 60, 40}, std::tuple{"undated", -1, 500}}) {
        Release release = sampleRelease(title, 'a', seeders);
        release.published = age < 0 ? 0 : now - age;
        releases.push_back(release);
    }
    EXPECT_EQ(titles(topOfTheDay(releases, now)), (std::vector<std::string>{"fresher", "fresh"}));
    // Nothing dated within the day: the sources' newest, by seeders.
    EXPECT_EQ(titles(topOfTheDay({releases[0], releases[3]}, now)),
              (std::vector<std::string>{"old", "undated"}));
}

TEST(Shelves, EveryReleaseFindsItsShelf) {
    struct Case {
        std::string title;
        std::vector<int> categories;
        std::string sourceCategory;
        std::string genre;
        std::optional<Shelf> shelf;
    };
    const Case cases[] = {
        {"Северное сияние / Northern Lights (2019) BDRip 1080p", {2000, 2040}, "", "", Shelf::Kino},
        {"Дорога домой (2021) HDTVRip 720p", {2000}, "", "", Shelf::NasheKino},
        {"Northern.Lights.2019.1080p.BluRay.x264", {2040}, "", "", Shelf::Inostrannoe},
        {"Сияние севера / Aurora Station (Сезон 1) (2023) WEB-DL", {5040}, "", "", Shelf::Seriali},
        {"Тихий район (Сезон 2) (2024) WEB-DL", {5000}, "", "", Shelf::NashiSeriali},
        {"Космос изнутри (2020) BDRip", {5080}, "", "", Shelf::NauchnoPopularnoe},
        {"Шоу (2024) SATRip", {5050}, "", "", Shelf::Tv},
        {"Comedy Club (2024) SATRip", {5050}, "", "", Shelf::Jumor},
        {"Наруто (2002) TVRip", {5070}, "", "", Shelf::Anime},
        {"Лис и барсук (2020) WEB-DL", {2000}, "", "мультфильм, семейный", Shelf::Multiki},
        {"Лис и барсук (2020) WEB-DL", {}, "CartoonMovie", "", Shelf::Multiki},
        {"Земля / Earth (2007) BDRip", {}, "DocMovie", "", Shelf::NauchnoPopularnoe},
        {"Фильм (2020)", {}, "Movie", "", Shelf::NasheKino},
        {"Сериал / Series (2020)", {}, "Series", "", Shelf::Seriali},
        {"Книга (2020) PDF", {7000}, "", "", std::nullopt},
        {"Неизвестно", {}, "", "", std::nullopt},
        {"Альбом (2020)", {100005}, "", "", std::nullopt},
    };
    for (const Case& c : cases) {
        Release release = sampleRelease(c.title);
        release.categories = c.categories;
        release.sourceCategory = c.sourceCategory;
        release.genre = c.genre;
        EXPECT_EQ(shelfOf(release), c.shelf) << c.title;
    }
    for (const Shelf shelf : kAllShelves) {
        EXPECT_EQ(shelfOfSlug(slugOf(shelf)), shelf);
        EXPECT_FALSE(torznabCategoriesOf(shelf).empty());
    }
    EXPECT_EQ(captionOf(Shelf::NasheKino), "Наши фильмы");
}

TEST(ServiceQueries, TheQueriesOfTheClient) {
    const auto text = parseServiceQuery("search/1/0/000/2/Северное  сияние / 2019 ");
    ASSERT_TRUE(text);
    EXPECT_EQ(text->kind, ServiceQuery::Kind::Text);
    EXPECT_EQ(text->page, 1);
    EXPECT_EQ(text->text, "Северное сияние / 2019");
    EXPECT_EQ(searchKey(text->text), searchKey("северное СИЯНИЕ / 2019"));
    EXPECT_EQ(parseServiceQuery("top")->kind, ServiceQuery::Kind::Top);
    const auto category = parseServiceQuery("nashi_seriali");
    ASSERT_TRUE(category);
    EXPECT_EQ(category->kind, ServiceQuery::Kind::Category);
    EXPECT_EQ(category->shelf, Shelf::NashiSeriali);
    for (const char* bad : {"", "search/2/0/000/2/x", "search/0/0/000/2/", "search/0/0/000/2/   ",
                            "search/0", "films", "TOP", "search/0/0/000/2"}) {
        EXPECT_FALSE(parseServiceQuery(bad)) << bad;
    }
    EXPECT_EQ(parseReleaseId("107187"), 107187u);
    EXPECT_EQ(parseReleaseId("999999999"), 999999999u);
    for (const char* bad : {"", "0", "1000000000", "-5", "+5", "12a", " 12", "0x1F"}) {
        EXPECT_FALSE(parseReleaseId(bad)) << bad;
    }
}

TEST(ServiceQueries, ParametersAreDecodedAsTheClientEncodesThem) {
    struct Case {
        const char* target;
        const char* name;
        std::string value;
    };
    const Case cases[] = {
        // The client writes a blank as "+" and a plus as "%2B".
        {"/get.php?secret=s&q=search/0/0/000/2/%D0%BB%D1%91%D0%B4+1%2B1", "q",
         "search/0/0/000/2/лёд 1+1"},
        {"/get.php?secret=bqZanhMLfyKdoe&q=top", "secret", "bqZanhMLfyKdoe"},
        {"/get.php?q=a&q=b", "q", "a"},
        {"/get.php?xq=a&q=b", "q", "b"},
        {"/get.php?q", "q", ""},
        {"/get.php?q=%zz%4", "q", "%zz%4"},
        {"/get.php", "q", ""},
        {"/get_info.php?secret=s&id=107187", "id", "107187"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(queryParameter(c.target, c.name), c.value) << c.target;
    }
}

TEST(SizeText, SourcesSizesAndTheTrackersForm) {
    const std::pair<const char*, std::int64_t> sizes[] = {{"4.4 GCiB", 4724464026},
                                                          {"10.23 GB", 10984378860},
                                                          {"700,5 MB", 734527488},
                                                          {"1.2 ТБ", 1319413953331},
                                                          {"512 B", 512},
                                                          {"123456", 123456},
                                                          {"2 kB", 2048},
                                                          {"", -1},
                                                          {"GB", -1},
                                                          {"5 parsecs", -1},
                                                          {"3 Гб", 3221225472},
                                                          {"1 МиБ", -1},
                                                          {"99999999999999999999 TB", -1}};
    for (const auto& [text, bytes] : sizes) {
        EXPECT_EQ(bytesOfSizeText(text), bytes) << text;
    }
    const std::pair<const char*, int> exactness[] = {{"7.95 GB", 2},    {"4.4 GCiB", 1},
                                                     {"20 GB", 0},      {"700,5 MB", 1},
                                                     {" 123456 ", 100}, {"", 100}};
    for (const auto& [text, exact] : exactness) {
        EXPECT_EQ(exactnessOfSizeText(text, 100), exact) << text;
    }
    EXPECT_EQ(rowSizeText(10'987'654'321), "10.23\u00A0GB");
    EXPECT_EQ(rowSizeText(734'003'200), "700.00 MB");
    EXPECT_EQ(rowSizeText(-1), "?");
    EXPECT_EQ(pageSizeText(23'300'197'580), "21.70 GB (23,300,197,580 Bytes)");
    EXPECT_EQ(pageSizeText(999), "0.98 kB (999 Bytes)");
    EXPECT_EQ(pageSizeText(-1), "");
}

TEST(PlainText, OneSafeLine) {
    EXPECT_EQ(oneLine("  a\r\n\tb\xC2\xA0\xC2\xA0"
                      "c\xE2\x80\xA8\x01"
                      "d  ",
                      100),
              "a b c d");
    EXPECT_EQ(oneLine("\xFF\xC3", 100), "\xEF\xBF\xBD\xEF\xBF\xBD");
    EXPECT_EQ(oneLine("абвгд", 3), "абв");
    EXPECT_EQ(oneLine("\xED\xA0\x80", 10), "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"); // a surrogate
    EXPECT_EQ(withoutMarkup("<p>A &amp; B</p><br>C&nbsp;D &#x41;&#66; &bogus; &#1114112;", 100),
              "A & B C D AB &bogus; \xEF\xBF\xBD");
    EXPECT_EQ(escapeHtml("<a href=\"x\">&</a>"), "&lt;a href=\"x\"&gt;&amp;&lt;/a&gt;");
    EXPECT_EQ(escapeHtmlQuoted("\"it's\""), "&quot;it's&quot;");
    EXPECT_EQ(foldedCase("ЁЛКА Ёж Tree"), "елка еж tree");
}

TEST(Magnets, HashesTrackersAndRowLinks) {
    EXPECT_EQ(hashOfMagnet("magnet:?dn=x&xt=urn:btih:ABCDEF0123456789ABCDEF0123456789ABCDEF01"),
              "abcdef0123456789abcdef0123456789abcdef01");
    EXPECT_EQ(hashOfMagnet("MAGNET:?xt=URN:BTIH:" + std::string(40, 'F')), std::string(40, 'f'));
    EXPECT_EQ(hashOfMagnet("magnet:?xt=urn%3Abtih%3A" + std::string(40, '1')),
              std::string(40, '1'));
    for (const std::string& bad :
         {std::string("magnet:?xt=urn:btmh:1220abc"), std::string("http://x"),
          std::string("magnet:?xt=urn:btih:" + std::string(39, '1')), std::string("magnet:")}) {
        EXPECT_FALSE(hashOfMagnet(bad)) << bad;
    }
    EXPECT_EQ(trackersOfMagnet("magnet:?xt=x&tr=udp%3A%2F%2Fa%3A1&tr=file%3A%2F%2Fx&tr=wss://b&tr="
                               "http://c&tr=http://d",
                               3),
              (std::vector<std::string>{"udp://a:1", "wss://b", "http://c"}));
    EXPECT_EQ(rowMagnet(std::string(40, 'a'), "tracker.example", {"http://T.example/a?b=C D"}),
              "magnet:?xt=urn:btih:" + std::string(40, 'a') +
                  "&dn=tracker.example&tr=http%3a%2f%2f%54.example%2fa%3fb%3d%43%20%44");
    EXPECT_EQ(percentDecoded("a%20b%zz%4"), "a b%zz%4");
}

TEST(PosterAddress, OnlyAddressesThatNeedNoEscaping) {
    const std::pair<std::string, std::optional<std::string>> cases[] = {
        {"https://img.example/p.jpg", "https://img.example/p.jpg"},
        {" HTTP://img.example/a b/я.jpg ", "HTTP://img.example/a%20b/%D1%8F.jpg"},
        {"https://img.example/p.jpg?w=1&h=2", std::nullopt},
        {"https://img.example/p.jpg#x", std::nullopt},
        {"javascript:alert(1)", std::nullopt},
        {"http://", std::nullopt},
        {"http://x/\"onerror=\"alert(1)", std::nullopt},
        {"http://x/<script>", std::nullopt},
        {"http://x/a\\b", std::nullopt},
        {"http://x/a\nb", std::nullopt},
        {"http://x/" + std::string(1000, 'a'), std::nullopt},
    };
    for (const auto& [address, usable] : cases) {
        EXPECT_EQ(usablePosterAddress(address), usable) << address;
    }
}

TEST(SourceAddress, TheAddressesAsked) {
    struct Case {
        std::string given;
        std::string search;
    };
    const Case cases[] = {
        {"http://127.0.0.1:9117/api/v2.0/indexers/all/results/torznab/api?apikey=KEY",
         "http://127.0.0.1:9117/api/v2.0/indexers/all/results/torznab/api?apikey=KEY&t=search&"
         "q=%D1%8F%20x%26y&cat=2000%2C5000&extended=1&limit=100"},
        {"http://127.0.0.1:9117/api/v2.0/indexers/rutor/results/torznab/?apikey=KEY",
         "http://127.0.0.1:9117/api/v2.0/indexers/rutor/results/torznab/api?apikey=KEY&t=search&"
         "q=%D1%8F%20x%26y&cat=2000%2C5000&extended=1&limit=100"},
        {"https://prowlarr.example/1/api?apikey=K&t=caps&q=old#frag",
         "https://prowlarr.example/1/api?apikey=K&t=search&q=%D1%8F%20x%26y&cat=2000%2C5000&"
         "extended=1&limit=100"},
    };
    for (const Case& c : cases) {
        EXPECT_TRUE(isUsableSourceAddress(c.given)) << c.given;
        EXPECT_EQ(torznabSearchAddress(c.given, "я x&y", "2000,5000", 100), c.search);
    }
    EXPECT_EQ(torznabSearchAddress("http://h:1/api?apikey=K", "", "", 50),
              "http://h:1/api?apikey=K&t=search&q=&extended=1&limit=50");
    EXPECT_EQ(torrServerSearchAddress("http://user:pw@127.0.0.1:8090/", false, "a b"),
              "http://user:pw@127.0.0.1:8090/search/?query=a%2520b");
    EXPECT_EQ(torrServerSearchAddress("http://127.0.0.1:8090", true, "100% C++"),
              "http://127.0.0.1:8090/torznab/search/?query=100%2525%2520C%252B%252B");
    EXPECT_EQ(torrServerSearchAddress("http://127.0.0.1:8090", true, ""),
              "http://127.0.0.1:8090/torznab/search/?query=");
    EXPECT_EQ(sourceName({SourceKind::Torznab, "http://h:9117/api/v2.0/x/api?apikey=SECRET"}),
              "Torznab http://h:9117/api/v2.0/x/api");
    EXPECT_EQ(sourceName({SourceKind::TorrServer, "http://user:secret@h:8090/"}),
              "TorrServer http://h:8090");
    for (const char* bad :
         {"ftp://h/", "http://", "http://:80/", "h:8090", "http://h/a b", "http://h/\x01", ""}) {
        EXPECT_FALSE(isUsableSourceAddress(bad)) << bad;
    }
}

} // namespace
