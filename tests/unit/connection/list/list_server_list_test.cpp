#include "connection/http/json_value_text.h"
#include "connection/list/server_list.h"

#include "list_test_print.h"

#include <gtest/gtest.h>

#include <QString>

#include <random>
#include <string>
#include <vector>

namespace qb::connection {
namespace {
using Json = nlohmann::ordered_json;

std::vector<std::string> compactTexts(const Json& array) {
    std::vector<std::string> texts;
    for (const auto& entry : array) {
        texts.push_back(entry.dump());
    }
    return texts;
}

TEST(ParseServerList, TellsTheThreeOutcomesApart) {
    const struct {
        QByteArray answer;
        ListAnswerKind expected;
    } cases[] = {
        {"[]", ListAnswerKind::Array},
        {" [ {\"Name\":\"a\"} , 5 ]\n", ListAnswerKind::Array},
        {"{\"error\":\"busy\"}", ListAnswerKind::NotArray},
        {"null", ListAnswerKind::NotArray},
        {"\"[]\"", ListAnswerKind::NotArray},
        {"17", ListAnswerKind::NotArray},
        {"", ListAnswerKind::NotJson},
        {"   ", ListAnswerKind::NotJson},
        {"[{\"Name\":\"a\"}", ListAnswerKind::NotJson},
        {"[] []", ListAnswerKind::NotJson},
        {"<html>502 Bad Gateway</html>", ListAnswerKind::NotJson},
        {"[\"\xFF\"]", ListAnswerKind::NotJson},
        {"[1e999]", ListAnswerKind::NotJson},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(parseServerList(c.answer).kind, c.expected) << c.answer.toStdString();
    }
}

TEST(ParseServerList, KeepsEntriesAndMemberOrderAsReceived) {
    const QByteArray answer = R"([{"Name":"b","Hash":"2","Length":10},{"Hash":"1","Name":"a"}])";
    const ListParseOutcome outcome = parseServerList(answer);
    ASSERT_EQ(outcome.kind, ListAnswerKind::Array);
    EXPECT_EQ(outcome.array.dump(), answer.toStdString());
}

TEST(ParseServerList, RefusesNestingTooDeepToWriteOut) {
    const int depth = 100000;
    const QByteArray deep = QByteArray(depth, '[') + QByteArray(depth, ']');
    EXPECT_EQ(parseServerList(deep).kind, ListAnswerKind::NotJson);

    const int allowed = kMaxJsonAnswerDepth;
    const QByteArray fits = QByteArray(allowed, '[') + QByteArray(allowed, ']');
    EXPECT_EQ(parseServerList(fits).kind, ListAnswerKind::Array);

    // Brackets inside names are text, not nesting.
    const QByteArray named = "[{\"Name\":\"" + QByteArray(1000, '[') + "\\\"\"}]";
    EXPECT_EQ(parseServerList(named).kind, ListAnswerKind::Array);
}

TEST(SortServerList, OrdersByCompactTextAsUtf16CodeUnits) {
    Json list = Json::parse(R"([
        {"Name":"b"},
        {"Name":"Яблоко"},
        {"Name":"！"},
        {"Name":"😀"},
        {"Name":"B"},
        {"Name":"a"},
        {"Name":"a","Hash":"1"},
        {"Hash":"1","Name":"a"},
        {"Name":"a "}
    ])");
    sortServerList(list);
    // U+1F600 is written as the surrogates D83D DE00, which come before U+FF01 in UTF-16 although
    // its UTF-8 bytes come after.
    const std::vector<std::string> expected{
        R"({"Hash":"1","Name":"a"})", R"({"Name":"B"})", R"({"Name":"a "})",
        R"({"Name":"a","Hash":"1"})", R"({"Name":"a"})", R"({"Name":"b"})",
        R"({"Name":"Яблоко"})",       R"({"Name":"😀"})", R"({"Name":"！"})",
    };
    EXPECT_EQ(compactTexts(list), expected);
}

TEST(SortServerList, SortsMixedValuesAndKeepsEveryEntry) {
    std::mt19937 rng(7);
    Json list = Json::array();
    for (int i = 0; i < 300; ++i) {
        const int pick = static_cast<int>(rng() % 4);
        if (pick == 0) {
            list.push_back(static_cast<int>(rng() % 50));
        } else if (pick == 1) {
            list.push_back(Json{{"Name", std::to_string(rng() % 40)}, {"Length", rng() % 3}});
        } else if (pick == 2) {
            list.push_back(Json{{"Hash", std::to_string(rng() % 40)}});
        } else {
            list.push_back(Json::array({rng() % 5}));
        }
    }
    std::vector<std::string> before = compactTexts(list);
    sortServerList(list);
    const std::vector<std::string> after = compactTexts(list);

    // All these texts are ASCII, where UTF-16 and byte order agree.
    std::sort(before.begin(), before.end());
    EXPECT_EQ(after, before);
}
} // namespace
} // namespace qb::connection
