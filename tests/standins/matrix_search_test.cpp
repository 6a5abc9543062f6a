// The search routes of today's server (/search/ and /torznab/search/) answering from the
// stand-in's release fixture, and their answers when search is off.
#include "torrserver_test_support.h"

#include <gtest/gtest.h>

using nlohmann::ordered_json;
using namespace qb::testing;

namespace {
// Written in the shape of the server's answer; the second has no names, year or date.
const char* const kFixture = R"([
 {"Title":"Северное сияние / Northern Lights (2019) WEB-DL 1080p","Name":"Северное сияние",
  "Names":["Northern Lights"],"Categories":"Movie","Size":"4.37 GB",
  "CreateDate":"2024-05-01T10:00:00Z","Tracker":"Rutor","Link":"http://tracker.example/t/1",
  "Year":2019,"Peer":3,"Seed":40,"Magnet":"magnet:?xt=urn:btih:1111111111111111111111111111111111111111",
  "Hash":"1111111111111111111111111111111111111111","IMDBID":"tt1","VideoQuality":200,
  "AudioQuality":300,"Bytes":4692251771},
 {"Title":"Северное сияние 2160p","Name":"Северное сияние","Size":"20 GB","Seed":5},
 {"Title":"Полярная ночь","Name":"Полярная ночь"},
 {"Title":"Сияние ёлки и северное небо","Name":"Ёлка","Year":2001}
])";

class MatrixSearch : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string fixture = folder_.path().toStdString() + "/releases.json";
        writeFile(fixture, kFixture);
        auto options = matrixOptions();
        options.extraArgs = {"--search-fixture", fixture};
        server_.emplace(options);
        ASSERT_TRUE(server_->start()) << server_->error();
    }

    ordered_json search(const std::string& path) {
        const Answer answer = getFrom(*server_, path);
        EXPECT_EQ(answer.status, 200) << path;
        return ordered_json::parse(answer.body, nullptr, false);
    }

    QTemporaryDir folder_;
    std::optional<TorrServerStandin> server_;
};

std::vector<std::string> titles(const ordered_json& list) {
    std::vector<std::string> out;
    for (const ordered_json& item : list) {
        out.push_back(item["Title"]);
    }
    return out;
}
} // namespace

TEST_F(MatrixSearch, ReleasesHoldingEveryWordNearestNameFirst) {
    struct Case {
        std::string query; // as sent, escaped
        std::vector<std::string> titles;
    };
    const Case cases[] = {
        // Both words in the title; the name (and year) nearest to the query first: "Ёлка2001"
        // is nearer than "Северное сияниеNorthern Lights2019".
        {"%D1%81%D0%B5%D0%B2%D0%B5%D1%80%D0%BD%D0%BE%D0%B5%20%D1%81%D0%B8%D1%8F%D0%BD%D0%B8%D0%B5",
         {"Северное сияние 2160p", "Сияние ёлки и северное небо",
          "Северное сияние / Northern Lights (2019) WEB-DL 1080p"}},
        // Upper case, "ё" read as "е", a stop word left out.
        {"%D0%81%D0%9B%D0%9A%D0%98+%D0%B8", {"Сияние ёлки и северное небо"}},
        {"northern+LIGHTS", {"Северное сияние / Northern Lights (2019) WEB-DL 1080p"}},
        {"nothing", {}},
        {"", {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(titles(search("/search/?query=" + c.query)), c.titles) << c.query;
    }
    // Each release as the server's answer has it, every member in its order.
    const ordered_json second = search("/search/anything?query=2160p");
    ASSERT_EQ(second.size(), 1u);
    EXPECT_EQ(second[0], ordered_json::parse(R"({"Title":"Северное сияние 2160p",
        "Name":"Северное сияние","Names":null,"Categories":"","Size":"20 GB",
        "CreateDate":"0001-01-01T00:00:00Z","Tracker":"","Link":"","Year":0,"Peer":0,"Seed":5,
        "Magnet":"","Hash":"","IMDBID":"","VideoQuality":0,"AudioQuality":0})"));
}

TEST_F(MatrixSearch, TorznabAnswersCarryWhatTorznabFills) {
    const ordered_json found = search("/torznab/search/?query=northern&index=0");
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0], ordered_json::parse(R"({
        "Title":"Северное сияние / Northern Lights (2019) WEB-DL 1080p",
        "Name":"Северное сияние / Northern Lights (2019) WEB-DL 1080p","Names":null,
        "Categories":"","Size":"4.4 GCiB","CreateDate":"2024-05-01T10:00:00Z","Tracker":"Rutor",
        "Link":"http://tracker.example/t/1","Year":0,"Peer":3,"Seed":40,
        "Magnet":"magnet:?xt=urn:btih:1111111111111111111111111111111111111111",
        "Hash":"1111111111111111111111111111111111111111","IMDBID":"","VideoQuality":0,
        "AudioQuality":0})"));
    EXPECT_EQ(search("/torznab/search/?query=").size(), 4u);
}

TEST_F(MatrixSearch, WithoutTheTrailingSlashTheRouteRedirects) {
    const Answer moved = getFrom(*server_, "/search?query=x");
    EXPECT_EQ(moved.status, 301);
    EXPECT_EQ(moved.header("Location"), "/search/?query=x");
    EXPECT_EQ(getFrom(*server_, "/torznab/search?query=x").header("Location"),
              "/torznab/search/?query=x");
}

TEST_F(MatrixSearch, SearchesSwitchedOffAnswer400WithAnEmptyList) {
    ordered_json settings =
        ordered_json::parse(postTo(*server_, "/settings", R"({"action":"get"})").body);
    settings["EnableRutorSearch"] = false;
    ASSERT_EQ(
        postTo(*server_, "/settings", ordered_json{{"action", "set"}, {"sets", settings}}.dump())
            .status,
        200);
    const Answer off = getFrom(*server_, "/search/?query=northern");
    EXPECT_EQ(off.status, 400);
    EXPECT_EQ(off.body, "[]");
    EXPECT_EQ(search("/torznab/search/?query=northern").size(), 1u);
    // Switched on without an indexer: nothing found, 200.
    settings["TorznabUrls"] = nullptr;
    ASSERT_EQ(
        postTo(*server_, "/settings", ordered_json{{"action", "set"}, {"sets", settings}}.dump())
            .status,
        200);
    EXPECT_EQ(search("/torznab/search/?query=northern").size(), 0u);
}

TEST_F(MatrixSearch, FaultSwitchesReachTheSearchRoutes) {
    ASSERT_TRUE(server_->setFaults({{"status", {{"path", "/search/*"}, {"code", 503}}}}));
    EXPECT_EQ(getFrom(*server_, "/search/?query=northern").status, 503);
    EXPECT_EQ(search("/torznab/search/?query=northern").size(), 1u);
    server_->clearRequests();
    ASSERT_TRUE(server_->setFaults({{"reset", true}, {"close", "/torznab/search/*"}}));
    EXPECT_FALSE(server_->client().Get("/torznab/search/?query=northern"));
    EXPECT_EQ(server_->requestsTo("/torznab/search/"), 1);
}

TEST(MatrixSearchOff, AFreshServerHasBothSearchesOff) {
    TorrServerStandin server(matrixOptions());
    ASSERT_TRUE(server.start()) << server.error();
    for (const char* path : {"/search/?query=x", "/torznab/search/?query=x"}) {
        const Answer answer = getFrom(server, path);
        EXPECT_EQ(answer.status, 400) << path;
        EXPECT_EQ(answer.body, "[]") << path;
        EXPECT_EQ(answer.header("Content-Type"), "application/json; charset=utf-8");
    }
}
