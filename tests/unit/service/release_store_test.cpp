// Release ids: fewer than ten digits, the same for the same release across searches and
// restarts (through the state text), and pages answerable by id without a new search.
#include "sample_releases.h"

#include "core/release_store.h"

#include <gtest/gtest.h>

#include <set>

using qb::service::Release;
using qb::service::ReleaseStore;
using qb::service::test::sampleRelease;

namespace {

std::string hashOf(int n) {
    std::string hash = std::to_string(n);
    return std::string(40 - hash.size(), 'c') + hash;
}

TEST(ReleaseStore, IdsHaveFewerThanTenDigitsAndFollowTheHash) {
    ReleaseStore store;
    std::set<std::uint32_t> ids;
    for (int i = 0; i < 5000; ++i) {
        Release release = sampleRelease("R" + std::to_string(i));
        release.hash = hashOf(i);
        const std::uint32_t id = store.remember(release, 100);
        EXPECT_GE(id, 1u);
        EXPECT_LE(id, 999'999'999u);
        ids.insert(id);
        // The same release found again, by another search, keeps its id.
        EXPECT_EQ(store.remember(release, 200), id);
    }
    EXPECT_EQ(ids.size(), 5000u);
    // A fresh store (the state file lost) gives the same ids.
    ReleaseStore fresh;
    Release release = sampleRelease("R7");
    release.hash = hashOf(7);
    EXPECT_EQ(fresh.remember(release, 1), store.idOfHash(hashOf(7)));
}

TEST(ReleaseStore, ATakenIdGoesToTheNextFree) {
    ReleaseStore store;
    Release first = sampleRelease("First", 'a');
    const std::uint32_t id = store.remember(first, 1);
    // A state in which another release holds the first one's preferred id.
    const std::string state = R"({"version":1,"releases":[{"id":)" + std::to_string(id) +
                              R"(,"hash":")" + std::string(40, 'b') + R"(","title":"Other"}]})";
    ReleaseStore loaded = ReleaseStore::fromStateText(state, 100);
    const std::uint32_t moved = loaded.remember(first, 2);
    EXPECT_EQ(moved, id == 999'999'999u ? 1u : id + 1);
    EXPECT_EQ(loaded.recall(id, 3)->title, "Other");
}

TEST(ReleaseStore, AStateTextKeepsEveryReleaseAndItsId) {
    ReleaseStore store;
    Release full = sampleRelease("Северное сияние \"1080p\"");
    full.poster = "https://img.example/p.jpg";
    full.files = 10;
    full.genre = "драма";
    full.description = "Описание";
    full.year = 2019;
    full.sourceCategory = "Movie";
    const std::uint32_t id = store.remember(full, 1000);
    Release bare;
    bare.hash = std::string(40, 'e');
    const std::uint32_t bareId = store.remember(bare, 1001);
    EXPECT_TRUE(store.changed());
    const std::string text = store.stateText();
    EXPECT_FALSE(store.changed());

    int unreadable = -1;
    ReleaseStore loaded = ReleaseStore::fromStateText(text, 100, &unreadable);
    EXPECT_EQ(unreadable, 0);
    EXPECT_EQ(loaded.size(), 2u);
    const auto again = loaded.recall(id, 2000);
    ASSERT_TRUE(again);
    EXPECT_EQ(again->title, full.title);
    EXPECT_EQ(again->poster, full.poster);
    EXPECT_EQ(again->files, 10);
    EXPECT_EQ(again->trackers, full.trackers);
    EXPECT_EQ(again->categories, full.categories);
    EXPECT_EQ(again->sizeBytes, full.sizeBytes);
    EXPECT_EQ(again->published, full.published);
    EXPECT_EQ(again->year, 2019);
    EXPECT_EQ(again->sourceCategory, "Movie");
    const auto bareAgain = loaded.recall(bareId, 2000);
    ASSERT_TRUE(bareAgain);
    EXPECT_EQ(bareAgain->seeders, -1);
    EXPECT_EQ(bareAgain->sizeBytes, -1);
    EXPECT_FALSE(loaded.recall(12345, 1));
}

TEST(ReleaseStore, ANewAnswerUpdatesCountsAndKeepsWhatItLacks) {
    ReleaseStore store;
    Release first = sampleRelease("Film");
    first.poster = "https://img.example/p.jpg";
    first.files = 4;
    const std::uint32_t id = store.remember(first, 1);
    Release later;
    later.hash = first.hash;
    later.seeders = 2;
    later.leechers = 0;
    later.title = "Film (renamed)";
    EXPECT_EQ(store.remember(later, 2), id);
    const auto known = store.recall(id, 3);
    EXPECT_EQ(known->title, "Film (renamed)");
    EXPECT_EQ(known->seeders, 2);
    EXPECT_EQ(known->leechers, 0);
    EXPECT_EQ(known->poster, first.poster);
    EXPECT_EQ(known->files, 4);
    EXPECT_EQ(known->sizeBytes, first.sizeBytes);
}

TEST(ReleaseStore, AFullStoreForgetsWhatWasLeastRecentlyUsed) {
    ReleaseStore store(100);
    std::vector<std::uint32_t> ids;
    for (int i = 0; i < 100; ++i) {
        Release release;
        release.hash = hashOf(i);
        ids.push_back(store.remember(release, 1000 + i));
    }
    // The oldest one is asked for (the torrent list shows it): it stays.
    ASSERT_TRUE(store.recall(ids[0], 5000));
    Release newcomer;
    newcomer.hash = hashOf(1000);
    const std::uint32_t id = store.remember(newcomer, 6000);
    EXPECT_LE(store.size(), 100u);
    EXPECT_TRUE(store.recall(id, 6001));
    EXPECT_TRUE(store.recall(ids[0], 6002));
    EXPECT_FALSE(store.recall(ids[1], 6003)); // among the least recently used
    EXPECT_TRUE(store.recall(ids[99], 6004));
}

TEST(ReleaseStore, StateTextsThatCannotBeReadAreLeftOut) {
    struct Case {
        std::string text;
        std::size_t kept;
        int unreadable;
    };
    const std::string good = R"({"id":5,"hash":")" + std::string(40, 'a') + R"("})";
    const Case cases[] = {
        {"", 0, 0},
        {"not json", 0, 1},
        {"[]", 0, 1},
        {R"({"releases":{}})", 0, 1},
        {R"({"releases":[)" + good + "]}", 1, 0},
        // Ids of ten digits, zero, or not numbers; hashes that are not hashes; repeats.
        {R"({"releases":[{"id":1000000000,"hash":")" + std::string(40, 'b') + R"("},)" + good +
             R"(,{"id":0,"hash":")" + std::string(40, 'c') + R"("},{"id":"6","hash":")" +
             std::string(40, 'd') + R"("},{"id":7,"hash":"xyz"},)" + good + R"(,5,null]})",
         1, 7},
        {std::string(1000, '[') + std::string(1000, ']'), 0, 1},
    };
    for (const Case& c : cases) {
        int unreadable = -1;
        const ReleaseStore store = ReleaseStore::fromStateText(c.text, 100, &unreadable);
        EXPECT_EQ(store.size(), c.kept) << c.text.substr(0, 60);
        EXPECT_EQ(unreadable, c.unreadable) << c.text.substr(0, 60);
    }
    // Texts in the state are made safe again: a poster with a quote is dropped.
    ReleaseStore store = ReleaseStore::fromStateText(
        R"({"releases":[{"id":9,"hash":")" + std::string(40, 'a') +
            R"x(","title":"a\nb","poster":"http://x/\"onerror=\"alert(1)"}]})x",
        100);
    const auto release = store.recall(9, 1);
    ASSERT_TRUE(release);
    EXPECT_EQ(release->title, "a b");
    EXPECT_EQ(release->poster, "");
}

} // namespace
