#include "connection/list/file_rows.h"
#include "connection/list/row_colours.h"

#include "list_test_print.h"

#include <gtest/gtest.h>

#include <ostream>

namespace qb::connection {
void PrintTo(const FileRow& row, std::ostream* os) {
    *os << '{' << row.text.toStdString() << ", " << row.fileIndex << ", " << row.viewed << '}';
}

namespace {
using Json = nlohmann::ordered_json;

TEST(AddListRows, SkipsSubtitlesCutsTheFolderAndMarksViewedFiles) {
    const Json files = Json::parse(R"([
        {"Name":"Show/Season 1/e01.mkv","Viewed":true},
        {"Name":"Show/e01.srt","Viewed":true},
        {"Name":"Show/E02.SRT"},
        {"Name":"top.mkv","Viewed":false},
        {"Name":"Show/e03.mkv","Viewed":"True"},
        {"Name":"Show/e04.mkv","Viewed":"maybe"},
        {"Name":"Show/e05.mkv","Viewed":1}
    ])");
    const QList<FileRow> expected{
        {QStringLiteral("Season 1/e01.mkv - просмотрено"), 0, true},
        {QStringLiteral("E02.SRT"), 2, false},
        {QStringLiteral("top.mkv"), 3, false},
        {QStringLiteral("e03.mkv - просмотрено"), 4, true},
        {QStringLiteral("e04.mkv"), 5, false},
        {QStringLiteral("e05.mkv - просмотрено"), 6, true},
    };
    EXPECT_EQ(addListRows(files), expected);
}

TEST(AddListRows, VideoWithSubtitleGivesOneRow) {
    const Json files =
        Json::parse(R"([{"Name":"Film/film.srt"},{"Name":"Film/film.mkv","Viewed":false}])");
    const QList<FileRow> expected{{QStringLiteral("film.mkv"), 1, false}};
    EXPECT_EQ(addListRows(files), expected);
}

TEST(AddListRows, OddFileEntriesStillGiveRows) {
    const Json files = Json::parse(R"([5,{"Name":null},{"Name":["x"]},{"Viewed":true}])");
    const QList<FileRow> rows = addListRows(files);
    ASSERT_EQ(rows.size(), 4);
    EXPECT_EQ(rows[3], (FileRow{QStringLiteral(" - просмотрено"), 3, true}));
    EXPECT_TRUE(addListRows(Json::parse(R"({"Name":"a"})")).isEmpty());
}

TEST(EntryFiles, OnlyAnArrayCounts) {
    const Json withFiles = Json::parse(R"({"Files":[{"Name":"a"}]})");
    ASSERT_NE(entryFiles(withFiles), nullptr);
    EXPECT_EQ(entryFiles(withFiles)->size(), 1u);
    EXPECT_EQ(entryFiles(Json::parse(R"({"Files":{"Name":"a"}})")), nullptr);
    EXPECT_EQ(entryFiles(Json::parse(R"({"Name":"a"})")), nullptr);
    EXPECT_EQ(entryFiles(Json::parse(R"([{"Files":[]}])")), nullptr);
}

TEST(SingleTopFile, OffersDownloadOnlyForAFileAtTheTop) {
    const struct {
        const char* files;
        bool expected;
    } cases[] = {
        {R"([{"Name":"film.mkv"}])", true},
        {R"([{"Name":"film.mkv"},{"Name":"extra/b.mkv"}])", true},
        {R"([{"Name":"Film/film.mkv"}])", false},
        {R"([])", false},
        {R"({"Name":"film.mkv"})", false},
        {"null", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(singleTopFileForDownload(Json::parse(c.files)), c.expected) << c.files;
    }
}
} // namespace
} // namespace qb::connection
