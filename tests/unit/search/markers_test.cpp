#include "search/text/markers.h"

#include <QString>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

using qb::search::cutThrough;
using qb::search::textBefore;

struct MarkerCase {
    QString text;
    QString marker;
    QString before;
    QString afterCut;
};

class Markers : public ::testing::TestWithParam<MarkerCase> {};

TEST_P(Markers, TextBeforeAndCutThrough) {
    const MarkerCase& c = GetParam();
    EXPECT_EQ(textBefore(c.text, c.marker).toString(), c.before);
    EXPECT_EQ(cutThrough(c.text, c.marker).toString(), c.afterCut);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Markers,
    ::testing::Values(MarkerCase{u"ab\">cd\">e"_s, u"\">"_s, u"ab"_s, u"cd\">e"_s},
                      // At the very start: nothing before, cut just the marker.
                      MarkerCase{u"\">cd"_s, u"\">"_s, QString(), u"cd"_s},
                      // Absent: nothing before, and the length minus one is cut.
                      MarkerCase{u"abcdef"_s, u"red\">"_s, QString(), u"ef"_s},
                      MarkerCase{u"ab"_s, u"red\">"_s, QString(), QString()},
                      MarkerCase{QString(), u"x"_s, QString(), QString()},
                      // Letter case counts.
                      MarkerCase{u"aS\">b"_s, u"s\">"_s, QString(), u"\">b"_s},
                      MarkerCase{u"x ht\">ht\">y"_s, u"ht\">"_s, u"x "_s, u"ht\">y"_s}));

} // namespace
