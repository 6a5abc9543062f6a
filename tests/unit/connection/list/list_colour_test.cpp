#include "connection/list/row_colours.h"

#include "list_test_print.h"

#include <gtest/gtest.h>

#include <ostream>

namespace qb::connection {
namespace {
using Json = nlohmann::ordered_json;

constexpr char kPlain[] = "A - Размер: 1.00 ГБ";
constexpr char kSeeking[] = "A - Размер: 0.00 ГБ - пытаемся найти раздающих";
constexpr char kMarked[] = "[update] A - Размер: 1.00 ГБ";
constexpr char kMarkedSeeking[] = "[update] A - Размер: 0.00 ГБ - пытаемся найти раздающих";

constexpr char kNoFiles[] = R"({"Name":"A"})";
constexpr char kTwoVideos[] = R"({"Files":[{"Name":"A/1.mkv"},{"Name":"A/2.mkv"}]})";

struct ColourCase {
    const char* entry;
    const char* rowText;
    bool selected;
    RowColours expected;
};

constexpr RowColours kHighlighted{RowTextColour::HighlightedText, RowBackground::Highlight};

const ColourCase kColourCases[] = {
    {kNoFiles, kPlain, false, {RowTextColour::WindowText, RowBackground::Base}},
    {R"({"Files":"[]"})", kPlain, false, {RowTextColour::WindowText, RowBackground::Base}},
    {R"({"Files":null})", kPlain, false, {RowTextColour::WindowText, RowBackground::Base}},
    {R"({"Files":[]})", kPlain, false, {RowTextColour::Black, RowBackground::Base}},
    {R"({"Files":[{"Name":"a.mkv"}]})", kPlain, false, {RowTextColour::Black, RowBackground::Base}},
    {R"({"Files":[{"Name":"A/1.mkv"},{"Name":"A/1.srt"}]})",
     kPlain,
     false,
     {RowTextColour::Black, RowBackground::Base}},
    {kTwoVideos, kPlain, false, {RowTextColour::DarkRed, RowBackground::Base}},
    {R"({"Files":[{"Name":"A/1.mkv"},{"Name":"A/1.SRT"}]})",
     kPlain,
     false,
     {RowTextColour::DarkRed, RowBackground::Base}},
    {R"({"Files":[{"Name":"A/1.srt"},{"Name":"A/2.srt"},{"Name":"A/1.mkv"}]})",
     kPlain,
     false,
     {RowTextColour::Black, RowBackground::Base}},
    {R"({"Files":[1,2]})", kPlain, false, {RowTextColour::DarkRed, RowBackground::Base}},
    {kTwoVideos, kSeeking, false, {RowTextColour::Red, RowBackground::Base}},
    {kNoFiles, kSeeking, false, {RowTextColour::Red, RowBackground::Base}},
    {kTwoVideos, kMarked, false, {RowTextColour::Green, RowBackground::Base}},
    {kTwoVideos, kMarkedSeeking, false, {RowTextColour::Green, RowBackground::Base}},
    {kNoFiles, kPlain, true, kHighlighted},
    {kTwoVideos, kPlain, true, kHighlighted},
    {kTwoVideos, kSeeking, true, kHighlighted},
    {kTwoVideos, kMarkedSeeking, true, kHighlighted},
    {"[]", kPlain, false, {RowTextColour::WindowText, RowBackground::Base}},
};

void PrintTo(const ColourCase& c, std::ostream* os) {
    *os << c.entry << " / " << c.rowText << (c.selected ? " / selected" : "");
}

class RowColour : public testing::TestWithParam<ColourCase> {};

TEST_P(RowColour, FollowsSelectionMarksAndFiles) {
    const ColourCase& c = GetParam();
    const RowColours colours =
        torrentRowColour(Json::parse(c.entry), QString::fromUtf8(c.rowText), c.selected);
    EXPECT_EQ(colours.text, c.expected.text);
    EXPECT_EQ(colours.background, c.expected.background);
}

INSTANTIATE_TEST_SUITE_P(Rows, RowColour, testing::ValuesIn(kColourCases));
} // namespace
} // namespace qb::connection
