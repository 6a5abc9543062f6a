#include "search/results/result_rows.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

using qb::search::ResultColour;

TEST(ResultRows, ColourByResolution) {
    const std::pair<QString, ResultColour> cases[] = {
        {u"A 720p - 1 ГБ [1/1]"_s, ResultColour::Plain},
        {u"A 1080p - 1 ГБ [1/1]"_s, ResultColour::FullHd},
        {u"A 1080i - 1 ГБ [1/1]"_s, ResultColour::FullHd},
        {u"A 2160p - 1 ГБ [1/1]"_s, ResultColour::UltraHd},
        {u"A 1080p 2160p - 1 ГБ [1/1]"_s, ResultColour::UltraHd},
        {u"A 1080P - 1 ГБ [1/1]"_s, ResultColour::Plain},
    };
    for (const auto& [line, colour] : cases) {
        EXPECT_EQ(qb::search::resultColour(line), colour) << line.toStdString();
    }
}

TEST(ResultRows, HintsFrom130Characters) {
    const QString title = u"Фильм"_s;
    const QString tail = u" - 1 ГБ [7/1]"_s;
    const auto line = [&](qsizetype length) -> QString {
        return title + QString(length - title.size() - tail.size(), u'x') + tail;
    };
    EXPECT_EQ(qb::search::resultHint(line(129)), QString());
    const QString hinted = line(130);
    ASSERT_EQ(hinted.size(), 130);
    // The hint begins with the blank after the first dash.
    EXPECT_EQ(qb::search::resultHint(hinted), hinted.sliced(hinted.indexOf(u" - "_s) + 2));
    EXPECT_TRUE(qb::search::resultHint(hinted).startsWith(u" 1 ГБ"_s));
    // Without a dash the hint starts at the second character.
    const QString noDash(140, u'y');
    EXPECT_EQ(qb::search::resultHint(noDash), noDash.sliced(1));
}

struct SeederCase {
    QString line;
    QString text;
    std::optional<int> count;
};

class Seeders : public ::testing::TestWithParam<SeederCase> {};

TEST_P(Seeders, CountOfTheDisplayLine) {
    EXPECT_EQ(qb::search::seederText(GetParam().line), GetParam().text);
    EXPECT_EQ(qb::search::decimalInteger(qb::search::seederText(GetParam().line)),
              GetParam().count);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, Seeders,
    ::testing::Values(SeederCase{u"Q 1080p - 1.5 ГБ [12/3]"_s, u"12"_s, 12},
                      SeederCase{u"A [x] - 1 ГБ [7/1]"_s, u"7"_s, 7},
                      SeederCase{u"A - 1 ГБ Пиры: [5/0]"_s, u"5"_s, 5},
                      SeederCase{u"A - 1 ГБ [4/0]"_s, u"4"_s, 4},
                      SeederCase{u"A - 1 ГБ [1 234/0]"_s, u"1234"_s, 1234},
                      // Two brackets in the title leave a text that is not a count.
                      SeederCase{u"A [x] [y] - 1 ГБ [7/1]"_s, u"y]-1ГБ[7"_s, std::nullopt},
                      SeederCase{u"A - 1 ГБ [/1]"_s, QString(), std::nullopt},
                      SeederCase{u"A - 1 ГБ [x/1]"_s, u"x"_s, std::nullopt},
                      SeederCase{u"A - 1 ГБ [99999999999/1]"_s, u"99999999999"_s, std::nullopt}));

} // namespace
