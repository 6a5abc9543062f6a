// The sources' answers: a Torznab indexer's RSS and today's TorrServer's JSON.
#include "core/torrserver_answer.h"
#include "core/torznab_answer.h"

#include <gtest/gtest.h>

using qb::service::readTorrServerAnswer;
using qb::service::readTorznabAnswer;
using qb::service::SourceAnswer;
using qb::service::TorrServerRoute;

namespace {

const std::string kHashA = std::string(40, 'a');

std::string feed(const std::string& items) {
    return R"(<?xml version="1.0" encoding="UTF-8"?>
<rss version="2.0" xmlns:atom="http://www.w3.org/2005/Atom" xmlns:torznab="http://torznab.com/schemas/2015/feed">
<channel><title>Indexer</title>)" +
           items + "</channel></rss>";
}

TEST(TorznabAnswer, AnItemWithEveryAttribute) {
    const SourceAnswer answer = readTorznabAnswer(feed(R"xml(
<item>
  <title>Северное сияние / Northern Lights (2019) BDRip 1080p</title>
  <guid>https://tracker.example/torrent/1</guid>
  <link>https://indexer.example/dl/1?apikey=x&amp;file=a</link>
  <pubDate>Wed, 24 Apr 2024 23:06:40 +0000</pubDate>
  <size>10987654321</size>
  <description>&lt;b&gt;Фильм&lt;/b&gt; о севере</description>
  <jackettindexer id="rutor">Rutor</jackettindexer>
  <category>2000</category>
  <enclosure url="https://indexer.example/dl/1" length="10987654321" type="application/x-bittorrent"/>
  <torznab:attr name="category" value="2040"/>
  <torznab:attr name="category" value="2000"/>
  <torznab:attr name="seeders" value="125"/>
  <torznab:attr name="peers" value="132"/>
  <torznab:attr name="infohash" value="6E38DD076E2E61C511669A7B3628C2DE7111A92D"/>
  <torznab:attr name="magneturl" value="magnet:?xt=urn:btih:6E38DD076E2E61C511669A7B3628C2DE7111A92D&amp;dn=x&amp;tr=http%3A%2F%2Fbt.example%2Fann&amp;tr=javascript:alert(1)"/>
  <torznab:attr name="files" value="3"/>
  <torznab:attr name="coverurl" value="https://img.example/p 1.jpg"/>
  <torznab:attr name="genre" value="драма"/>
  <torznab:attr name="year" value="2019"/>
</item>)xml"),
                                                  "Torznab 127.0.0.1:9117");
    ASSERT_EQ(answer.error, "");
    ASSERT_EQ(answer.releases.size(), 1u);
    const auto& r = answer.releases[0];
    EXPECT_EQ(r.hash, "6e38dd076e2e61c511669a7b3628c2de7111a92d");
    EXPECT_EQ(r.title, "Северное сияние / Northern Lights (2019) BDRip 1080p");
    EXPECT_EQ(r.sizeBytes, 10987654321);
    EXPECT_EQ(r.seeders, 125);
    EXPECT_EQ(r.leechers, 7); // peers count the seeders too
    EXPECT_EQ(r.published, 1714000000);
    EXPECT_EQ(r.categories, (std::vector<int>{2000, 2040}));
    EXPECT_EQ(r.files, 3);
    EXPECT_EQ(r.poster, "https://img.example/p%201.jpg");
    EXPECT_EQ(r.genre, "драма");
    EXPECT_EQ(r.year, 2019);
    EXPECT_EQ(r.description, "Фильм о севере");
    EXPECT_EQ(r.source, "Rutor");
    EXPECT_EQ(r.trackers, std::vector<std::string>{"http://bt.example/ann"});
}

TEST(TorznabAnswer, WhereTheHashComesFrom) {
    struct Case {
        std::string item;
        std::string hash; // empty: the item is left out
    };
    const std::string magnet = "magnet:?xt=urn:btih:" + kHashA;
    const Case cases[] = {
        {"<torznab:attr name=\"infohash\" value=\"" + kHashA + "\"/>", kHashA},
        {"<torznab:attr name=\"magneturl\" value=\"" + magnet + "\"/>", kHashA},
        {"<link>" + magnet + "</link>", kHashA},
        {"<enclosure url=\"" + magnet + "\" length=\"1\"/>", kHashA},
        {"<guid>" + magnet + "</guid>", kHashA},
        // Base32, as some magnets write it.
        {"<link>magnet:?xt=urn:btih:VKVKVKVKVKVKVKVKVKVKVKVKVKVKVKVK</link>",
         "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa"},
        {"<link>https://indexer.example/dl/1</link>", ""},
        {"<torznab:attr name=\"infohash\" value=\"xyz\"/>", ""},
        {"<torznab:attr name=\"infohash\" value=\"" + std::string(41, 'a') + "\"/>", ""},
    };
    for (const Case& c : cases) {
        const SourceAnswer answer =
            readTorznabAnswer(feed("<item><title>T</title>" + c.item + "</item>"), "s");
        EXPECT_EQ(answer.error, "") << c.item;
        if (c.hash.empty()) {
            EXPECT_TRUE(answer.releases.empty()) << c.item;
            EXPECT_EQ(answer.withoutHash, 1) << c.item;
        } else {
            ASSERT_EQ(answer.releases.size(), 1u) << c.item;
            EXPECT_EQ(answer.releases[0].hash, c.hash) << c.item;
            EXPECT_EQ(answer.releases[0].source, "s");
        }
    }
}

TEST(TorznabAnswer, ErrorsAndBrokenAnswersGiveNoReleases) {
    struct Case {
        std::string answer;
        std::string error;
    };
    const std::string item =
        "<item><title>T</title><link>magnet:?xt=urn:btih:" + kHashA + "</link></item>";
    const Case cases[] = {
        {R"(<?xml version="1.0"?><error code="100" description="Incorrect user credentials"/>)",
         "the indexer answered error 100: Incorrect user credentials"},
        {"", "the answer is not XML"},
        {"<html><body>Bad gateway</body></html>", "the answer is not a Torznab feed"},
        {"{\"not\":\"xml\"}", "the answer is not XML"},
        // Cut off after an item: nothing of it is used.
        {feed(item).substr(0, feed(item).size() - 10),
         "the answer is not well-formed XML: Premature end of document."},
        {"<rss><channel>" + item + "<item><title>&undefined;</title></item></channel></rss>",
         "the answer is not well-formed XML: Entity 'undefined' not declared."},
    };
    for (const Case& c : cases) {
        const SourceAnswer answer = readTorznabAnswer(c.answer, "s");
        EXPECT_EQ(answer.error, c.error) << c.answer;
        EXPECT_TRUE(answer.releases.empty()) << c.answer;
    }
}

TEST(TorznabAnswer, EntitiesThatExpandWithoutEndAreRefused) {
    // Ten entities, each ten of the one before: a billion characters.
    std::string bomb = "<?xml version=\"1.0\"?><!DOCTYPE rss [<!ENTITY a \"aaaaaaaaaa\">";
    char before = 'a';
    for (char entity = 'b'; entity <= 'j'; ++entity) {
        bomb += std::string("<!ENTITY ") + entity + " \"";
        for (int i = 0; i < 10; ++i) {
            bomb += std::string("&") + before + ";";
        }
        bomb += "\">";
        before = entity;
    }
    bomb += "]><rss><channel><item><title>&j;</title><link>magnet:?xt=urn:btih:" + kHashA +
            "</link></item></channel></rss>";
    const SourceAnswer answer = readTorznabAnswer(bomb, "s");
    EXPECT_NE(answer.error, "");
    EXPECT_TRUE(answer.releases.empty());
}

TEST(TorznabAnswer, TextsAreOneLineOfLimitedLength) {
    const SourceAnswer answer = readTorznabAnswer(
        feed("<item><title>A\r\nB\tC\xC2\xA0"
             "D\xE2\x80\xA8"
             "E " +
             std::string(500, 'x') + "</title><link>magnet:?xt=urn:btih:" + kHashA +
             "</link>"
             "<torznab:attr name=\"coverurl\" value=\"javascript:alert(1)\"/>"
             "<torznab:attr name=\"poster\" value=\"http://x.example/a&quot;b.jpg\"/>"
             "<torznab:attr name=\"seeders\" value=\"-5\"/>"
             "<torznab:attr name=\"peers\" value=\"lots\"/></item>"),
        "s");
    ASSERT_EQ(answer.releases.size(), 1u);
    const auto& r = answer.releases[0];
    EXPECT_EQ(r.title.substr(0, 12), "A B C D E xx");
    EXPECT_EQ(r.title.size(), 300u);
    EXPECT_EQ(r.poster, "");
    EXPECT_EQ(r.seeders, -1);
    EXPECT_EQ(r.leechers, -1);
}

TEST(TorrServerAnswer, BothRoutesCountPeersTheirWay) {
    const std::string json = R"([
 {"Title":"Северное сияние / Northern Lights (2019) WEB-DL 1080p","Name":"Северное сияние",
  "Names":["Northern Lights"],"Categories":"Movie","Size":"4.37 GB",
  "CreateDate":"2024-05-01T10:00:00Z","Tracker":"Rutor","Link":"http://tracker.example/t/1",
  "Year":2019,"Peer":3,"Seed":40,"Magnet":"magnet:?xt=urn:btih:1111111111111111111111111111111111111111&tr=udp%3A%2F%2Fx.example%3A1",
  "Hash":"","IMDBID":"tt1","VideoQuality":200,"AudioQuality":300},
 {"Title":"","Name":"Только имя","Size":"4.4 GCiB","CreateDate":"0001-01-01T00:00:00Z",
  "Seed":5,"Peer":9,"Hash":"2222222222222222222222222222222222222222"},
 {"Title":"Без хеша","Magnet":"http://not.a.magnet"},
 "not an object",
 {"Title":"Неверные числа","Hash":"3333333333333333333333333333333333333333","Seed":"7","Peer":-1}
])";
    const SourceAnswer builtIn = readTorrServerAnswer(json, TorrServerRoute::BuiltIn, "TorrServer");
    ASSERT_EQ(builtIn.error, "");
    ASSERT_EQ(builtIn.releases.size(), 3u);
    EXPECT_EQ(builtIn.withoutHash, 2);
    const auto& first = builtIn.releases[0];
    EXPECT_EQ(first.hash, std::string(40, '1'));
    EXPECT_EQ(first.sizeBytes, 4692251771);
    EXPECT_EQ(first.seeders, 40);
    EXPECT_EQ(first.leechers, 3);
    EXPECT_EQ(first.sourceCategory, "Movie");
    EXPECT_EQ(first.year, 2019);
    EXPECT_EQ(first.published, 1714557600);
    EXPECT_EQ(first.source, "Rutor");
    EXPECT_EQ(first.trackers, std::vector<std::string>{"udp://x.example:1"});
    const auto& second = builtIn.releases[1];
    EXPECT_EQ(second.title, "Только имя");
    EXPECT_EQ(second.sizeBytes, 4724464026);
    EXPECT_EQ(second.published, 0);
    EXPECT_EQ(second.source, "TorrServer");
    EXPECT_EQ(builtIn.releases[2].seeders, -1);
    EXPECT_EQ(builtIn.releases[2].leechers, -1);

    const SourceAnswer viaIndexers =
        readTorrServerAnswer(json, TorrServerRoute::Torznab, "TorrServer");
    ASSERT_EQ(viaIndexers.releases.size(), 3u);
    EXPECT_EQ(viaIndexers.releases[0].leechers, 0); // 3 peers of whom 40 seed
    EXPECT_EQ(viaIndexers.releases[1].leechers, 4);
}

TEST(TorrServerAnswer, AnythingButAListGivesNoReleases) {
    const std::pair<std::string, std::string> cases[] = {
        {"", "the answer is not JSON"},
        {"{\"message\":\"Not Found\"}", "the answer is not a list of releases"},
        {"[1,2", "the answer is not JSON"},
        {std::string(100000, '[') + std::string(100000, ']'),
         "the answer nests deeper than a release list"},
        {"404 page not found", "the answer is not JSON"},
    };
    for (const auto& [json, error] : cases) {
        const SourceAnswer answer = readTorrServerAnswer(json, TorrServerRoute::BuiltIn, "s");
        EXPECT_EQ(answer.error, error) << json.substr(0, 40);
        EXPECT_TRUE(answer.releases.empty());
    }
    EXPECT_EQ(readTorrServerAnswer("[]", TorrServerRoute::Torznab, "s").error, "");
}

} // namespace
