#include "lists/text/announced_count.h"
#include "lists/text/series_rows.h"
#include "lists/text/series_torrent.h"
#include "releaseinfo/page/info_request.h"

#include "lists_test_print.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace qb::lists {
namespace {

TEST(AnnouncedCount, ReadsTheBracketAfterDisplayfiles) {
    const struct {
        QString page;
        std::optional<int> count;
    } cases[] = {
        {u"<a id=\"displayfiles\">Список файлов (10)</a>"_s, 10},
        {u"(3) header <span id=\"displayfiles\">Список файлов (12)"_s, 12},
        {u"no marker, first bracket (7) wins (9)"_s, 7},
        {u"displayfiles ( 8 )"_s, 8},
        {u"displayfiles ()"_s, std::nullopt},
        {u"displayfiles (много)"_s, std::nullopt},
        {u"displayfiles (1.5)"_s, std::nullopt},
        {u"displayfiles (-2)"_s, std::nullopt},
        {u"displayfiles (12345678901)"_s, std::nullopt},
        {u"displayfiles (10"_s, std::nullopt},
        {u"displayfiles 10)"_s, std::nullopt},
        {u"(5) before displayfiles"_s, std::nullopt},
        {QString(), std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(announcedFileCount(c.page), c.count) << c.page.toStdString();
    }
}

nlohmann::ordered_json files(int count) {
    nlohmann::ordered_json array = nlohmann::ordered_json::array();
    for (int i = 0; i < count; ++i) {
        array.push_back({{"Name", "s/e" + std::to_string(i) + ".mkv"}, {"Size", 1}});
    }
    return array;
}

nlohmann::ordered_json torrent(const char* magnet, nlohmann::ordered_json fileList,
                               const char* name = "Сериал", const char* hash = "abc") {
    nlohmann::ordered_json entry = {{"Name", name}, {"Magnet", magnet}, {"Hash", hash}};
    if (!fileList.is_null()) {
        entry["Files"] = std::move(fileList);
    }
    return entry;
}

TEST(SeriesTorrent, OnlyMultiFileTorrentsOfTheTrackerAreLookedAt) {
    const char* tracked = "magnet:?xt=urn:btih:AA&dn=id_4BE5D&tr=x";
    const struct {
        const char* what;
        nlohmann::ordered_json entry;
        bool taken;
    } cases[] = {
        {"eight files", torrent(tracked, files(8)), true},
        {"two files", torrent(tracked, files(2)), true},
        {"files as a text", torrent(tracked, files(3).dump()), true},
        {"single file", torrent(tracked, files(1)), false},
        {"no files yet", torrent(tracked, nullptr), false},
        {"files not an array", torrent(tracked, "broken"), false},
        {"another client's", torrent("magnet:?xt=urn:btih:AA&dn=Name&tr=x", files(8)), false},
        {"id in other case", torrent("magnet:?xt=urn:btih:AA&dn=ID_4BE5D&tr=x", files(8)), false},
        {"id too long", torrent("magnet:?xt=urn:btih:AA&dn=id_123456789A&tr=x", files(8)), false},
        {"id not hex", torrent("magnet:?xt=urn:btih:AA&dn=id_4BZ&tr=x", files(8)), false},
        {"id empty", torrent("magnet:?xt=urn:btih:AA&dn=id_&tr=x", files(8)), false},
        {"no hash", torrent(tracked, files(8), "n", ""), false},
        {"not an object", nlohmann::ordered_json::array(), false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(seriesTorrent(c.entry).has_value(), c.taken) << c.what;
    }
}

TEST(SeriesTorrent, CarriesTheDecimalIdTheFileCountAndTheWholeName) {
    const auto found = seriesTorrent(torrent("magnet:?xt=urn:btih:AA&dn=id_4be5d&tr=x", files(8),
                                             "Северный ветер - 1 сезон", "f00d"));
    ASSERT_TRUE(found);
    EXPECT_EQ(found->releaseId, u"310877"_s);
    EXPECT_EQ(found->files, 8);
    EXPECT_EQ(found->hash, u"f00d"_s);
    // The title is the whole name, so that the refresh finds the entry and puts the mark back.
    EXPECT_EQ(updateListRow(*found), u"Северный ветер - 1 сезон^f00d"_s);

    const auto nameless = seriesTorrent(torrent("magnet:?dn=id_1&x", files(2), ""));
    ASSERT_TRUE(nameless);
    EXPECT_EQ(nameless->title, u"..."_s);
}

TEST(SeriesTorrent, MarksARowOnceAndAnnouncesTheCount) {
    EXPECT_EQ(markedRowText(u"A - Размер: 1.00 ГБ"_s), u"[update] A - Размер: 1.00 ГБ"_s);
    EXPECT_EQ(markedRowText(u"[update] A - Размер: 1.00 ГБ"_s), u"[update] A - Размер: 1.00 ГБ"_s);
    EXPECT_EQ(updatesFoundText(2), u"Найдены обновленные торренты (2)"_s);
    EXPECT_EQ(qb::releaseinfo::releaseInfoAddress(u"http://s:1"_s, u"310877"_s),
              u"http://s:1/get_info.php?secret=bqZanhMLfyKdoe&id=310877"_s);
}

// The rows of the torrents looked at, among the rows shown only; a mark goes to the first row
// with the torrent's hash, as a search of the rows by hash finds it.
TEST(SeriesRows, TakeTheTorrentsOfTheShownRowsEachWithTheFirstRowOfItsHash) {
    const char* tracked = "magnet:?xt=urn:btih:AA&dn=id_4BE5D&tr=x";
    const char* other = "magnet:?xt=urn:btih:BB&dn=id_10&tr=x";
    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    list.push_back(torrent("magnet:?dn=Foreign", files(3), "Другой", "h2")); // row 0
    list.push_back(torrent(tracked, files(8), "Первый", "h1"));              // row 1
    list.push_back(torrent(tracked, files(1), "Один файл", "h3"));           // row 2
    list.push_back(torrent(other, files(4), "Повтор", "h2"));                // row 3
    list.push_back(torrent(other, files(5), "Не показан", "h5"));            // row 4
    const connection::ServerEntries entries(list);
    const struct {
        std::size_t rows;
        std::vector<std::pair<QString, std::size_t>> found; // hash, row
    } cases[] = {
        {5, {{u"h1"_s, 1}, {u"h2"_s, 0}, {u"h5"_s, 4}}},
        {4, {{u"h1"_s, 1}, {u"h2"_s, 0}}},
        {99, {{u"h1"_s, 1}, {u"h2"_s, 0}, {u"h5"_s, 4}}},
        {1, {}},
        {0, {}},
    };
    for (const auto& c : cases) {
        std::vector<std::pair<QString, std::size_t>> found;
        for (const SeriesRow& series : seriesRows(entries, c.rows)) {
            found.emplace_back(series.torrent.hash, series.row);
        }
        EXPECT_EQ(found, c.found) << c.rows;
    }
    // The torrent is the one the entry gives.
    const std::vector<SeriesRow> rows = seriesRows(entries, 2);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].torrent.title, u"Первый"_s);
    EXPECT_EQ(rows[0].torrent.releaseId, seriesTorrent(list[1])->releaseId);
    EXPECT_EQ(rows[0].torrent.files, 8);
}

} // namespace
} // namespace qb::lists
