#include "search/results/result_parser.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

using qb::search::DisplayMode;
using qb::search::SearchRecord;

const QString kNbsp = QString(QChar(0x00A0));

// A result row in the tracker's markup; `title` and `size` go in as written.
QString row(const QString& title, const QString& size = u"1.5"_s + kNbsp + u"GB"_s,
            const QString& comments = QString()) {
    return u"<tr><td>01"_s + kNbsp +
           u"Янв</td><td><a href=\"magnet:?xt=urn:btih:AB&amp;dn=x\">"
           u"<img alt=\"M\"></a><a href=\"/torrent/77/q\">"_s +
           title + u" </a></td>"_s + comments + u"<td align=\"right\">"_s + size +
           u"</td><td><span class=\"green\"><img alt=\"S\">"_s + kNbsp +
           u"12</span><span class=\"red\">"_s + kNbsp + u"3</span></td></tr>"_s;
}

std::optional<SearchRecord> parse(const QString& line, DisplayMode mode = DisplayMode::Normal) {
    return qb::search::parseResultLine(line, mode);
}

void expectRecord(const std::optional<SearchRecord>& record, const SearchRecord& expected) {
    ASSERT_TRUE(record.has_value());
    EXPECT_EQ(record->Magnet, expected.Magnet);
    EXPECT_EQ(record->PagePath, expected.PagePath);
    EXPECT_EQ(record->Title, expected.Title);
    EXPECT_EQ(record->Size, expected.Size);
    EXPECT_EQ(record->Seeders, expected.Seeders);
    EXPECT_EQ(record->Leechers, expected.Leechers);
}

TEST(ResultParser, WorkedExample) {
    const QString line = u"<a href=\"magnet:?xt=urn:btih:ABC&amp;dn=Q\">M</a> <a "
                         u"href=\"/torrent/77/q\">Q 1080p.</a> ht\">1.5"_s +
                         kNbsp + u"GB</t S\">12</sp red\">3</span></td></tr>"_s;
    const auto record = parse(line);
    expectRecord(record, {u"magnet:?xt=urn:btih:ABC&amp;dn=Q"_s, u"/torrent/77/q"_s, u"Q 1080p"_s,
                          u"1.5 ГБ"_s, u"12"_s, u"3"_s});
    EXPECT_EQ(qb::search::displayLine(*record, DisplayMode::Normal), u"Q 1080p - 1.5 ГБ [12/3]"_s);
    EXPECT_EQ(qb::search::displayLine(*record, DisplayMode::Fhd),
              u"Q 1080p - 1.5 ГБ Пиры: [12/3]"_s);
}

TEST(ResultParser, TrackerRowWithAndWithoutCommentsCell) {
    const SearchRecord expected{u"magnet:?xt=urn:btih:AB&amp;dn=x"_s,
                                u"/torrent/77/q"_s,
                                u"Film"_s,
                                u"1.5 ГБ"_s,
                                u"12"_s,
                                u"3"_s};
    expectRecord(parse(row(u"Film"_s)), expected);
    // A comments cell brings a second "ht\">": the size follows it.
    expectRecord(parse(row(u"Film"_s, u"1.5"_s + kNbsp + u"GB"_s,
                           u"<td align=\"right\">14<img alt=\"C\"></td>"_s)),
                 expected);
}

// Lines that are cut by the marker arithmetic into odd records, or into none.
struct LineCase {
    const char* name;
    QString line;
    std::optional<SearchRecord> record;
};

class MarkerArithmetic : public ::testing::TestWithParam<LineCase> {};

TEST_P(MarkerArithmetic, Line) {
    const auto record = parse(GetParam().line);
    if (!GetParam().record) {
        EXPECT_FALSE(record.has_value());
        return;
    }
    expectRecord(record, *GetParam().record);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, MarkerArithmetic,
    ::testing::Values(
        LineCase{"NoStartMarker", u"<tr><td>x</td></span></td></tr>"_s, std::nullopt},
        LineCase{"NoEndMarker", u"<a href=\"magnet:?xt=1\">a</a> ht\">1</t"_s, std::nullopt},
        LineCase{"EndBeforeStart", u"</span></td></tr><a href=\"magnet:?xt=1\">"_s, std::nullopt},
        LineCase{"Empty", QString(), std::nullopt},
        // Both ends at the very start of the line, no inner markers: every cut of an absent
        // marker drops its length minus one.
        LineCase{"OnlyTheEnds", u"<a href=\"magnet:x</span></td></tr>"_s,
                 SearchRecord{QString(), QString(), QString(), QString(), QString(), QString()}},
        // Three "ht\">": the size is what follows the second.
        LineCase{"ThreeHt",
                 u"<a href=\"magnet:m\"><a href=\"/torrent/1/a\">T </a>ht\">ht\">2 ht\">3 "
                 u"GB</t S\">4</sp red\">5</span></td></tr>"_s,
                 SearchRecord{u"magnet:m"_s, u"/torrent/1/a"_s, u"T"_s, u"2 ht\">3  ГБ"_s, u"4"_s,
                              u"5"_s}},
        // Any case of "gb" gets its own blank.
        LineCase{
            "LowerCaseGb",
            u"<a href=\"magnet:m\"><a href=\"/torrent/1/a\">T </a>ht\">2 gb</t S\">4</sp "
            u"red\">5</span></td></tr>"_s,
            SearchRecord{u"magnet:m"_s, u"/torrent/1/a"_s, u"T"_s, u"2  ГБ"_s, u"4"_s, u"5"_s}},
        // A title of one character loses it; no-break spaces vanish wherever they stand.
        LineCase{
            "ShortTitleAndNoBreakSpaces",
            u"<a href=\"magnet:\u00A0m\"><a href=\"/torrent/1/a\">T</a>ht\">\u00A0</t "
            u"S\">\u00A04</sp red\">5\u00A0</span></td></tr>"_s,
            SearchRecord{u"magnet:m"_s, u"/torrent/1/a"_s, QString(), QString(), u"4"_s, u"5"_s}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ResultParser, AmpersandsOfTheTitleAreDecodedOnlyWhenListed) {
    const auto record = parse(row(u"A &amp; B &AMP; C"_s));
    ASSERT_TRUE(record);
    EXPECT_EQ(record->Title, u"A &amp; B &AMP; C"_s);
    const auto listed =
        qb::search::parseResultLines({row(u"A &amp; B &AMP; C"_s)}, DisplayMode::Normal);
    ASSERT_EQ(listed.size(), 1u);
    EXPECT_EQ(listed[0].Title, u"A & B & C"_s);
    EXPECT_EQ(listed[0].Magnet, u"magnet:?xt=urn:btih:AB&amp;dn=x"_s);
}

struct FilterCase {
    QString title;
    bool normal; // listed in mode "normal"
    bool fhd;    // listed in mode "fhd"
};

class Filters : public ::testing::TestWithParam<FilterCase> {};

TEST_P(Filters, ExclusionsAndResolution) {
    const QString line = row(GetParam().title);
    EXPECT_EQ(parse(line, DisplayMode::Normal).has_value(), GetParam().normal);
    EXPECT_EQ(parse(line, DisplayMode::Fhd).has_value(), GetParam().fhd);
}

INSTANTIATE_TEST_SUITE_P(Titles, Filters,
                         ::testing::Values(FilterCase{u"Film (2020) BDRip 1080p"_s, true, true},
                                           FilterCase{u"Film (2020) HDTV 1080i"_s, true, true},
                                           FilterCase{u"Film (2020) UHD 2160p"_s, true, true},
                                           FilterCase{u"Film (2020) WEB-DL 720p"_s, true, false},
                                           FilterCase{u"Film (2020) BDRip 1080P"_s, true, false},
                                           FilterCase{u"Artbook (2020) PDF"_s, false, false},
                                           FilterCase{u"Artbook (2020) pdf 1080p"_s, true, true},
                                           FilterCase{u"Wallpapers JPG 2160p"_s, false, false},
                                           FilterCase{u"Wallpapers JPEG"_s, false, false},
                                           FilterCase{u"Book FB2"_s, false, false},
                                           FilterCase{u"Game (2021) PC | RePack"_s, false, false},
                                           FilterCase{u"Game (2021) РС | Лицензия"_s, false, false},
                                           FilterCase{u"Game (2021)PC"_s, true, false},
                                           FilterCase{u"Film DVDRip-AVC от PCRec 1080p"_s, false,
                                                      false}));

TEST(ResultParser, ExclusionsCoverTheWholeRow) {
    QString line = row(u"Film 1080p"_s);
    line.replace(u"/torrent/77/q"_s, u"/torrent/77/film-pdf-PDF"_s);
    EXPECT_FALSE(parse(line));
}

TEST(ResultParser, ModesDifferOnlyInWhichRowsPassAndTheCountsCaption) {
    const QStringList lines = {row(u"A 1080p"_s), row(u"B 720p"_s), u"<tr>header</tr>"_s,
                               row(u"C 2160p"_s)};
    const auto normal = qb::search::parseResultLines(lines, DisplayMode::Normal);
    const auto fhd = qb::search::parseResultLines(lines, DisplayMode::Fhd);
    ASSERT_EQ(normal.size(), 3u);
    ASSERT_EQ(fhd.size(), 2u);
    for (const auto& [a, b] : {std::pair{&normal[0], &fhd[0]}, std::pair{&normal[2], &fhd[1]}}) {
        EXPECT_EQ(a->Title, b->Title);
        EXPECT_EQ(a->Size, b->Size);
        EXPECT_EQ(a->Magnet, b->Magnet);
        EXPECT_EQ(a->Seeders, b->Seeders);
    }
    EXPECT_EQ(qb::search::displayLine(fhd[1], DisplayMode::Fhd),
              u"C 2160p - 1.5 ГБ Пиры: [12/3]"_s);
}

} // namespace
