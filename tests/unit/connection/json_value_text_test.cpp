#include "connection/http/json_value_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

namespace qb::connection {
namespace {

using namespace Qt::StringLiterals;
using Json = nlohmann::ordered_json;

const char* const kEntry = R"({"Name":"Big Buck Bunny","Hash":"dd82","Length":276134947,
    "Status":1,"Null":null,"Empty":"","Viewed":false,"Seen":true,"Negative":-12,
    "Huge":18446744073709551615,"Speed":2097152.5,"Zero":0,"Cyrillic":"Фильм",
    "Escaped":"a\"b\\c\u0026","Files":[{"Name":"x"}],"Obj":{"a":1}})";

TEST(JsonValueText, ReadsEveryKindOfMemberAsText) {
    const Json entry = Json::parse(kEntry);
    const struct {
        const char* member;
        QString text;
    } cases[] = {
        {"Name", u"Big Buck Bunny"_s},
        {"Length", u"276134947"_s},
        {"Status", u"1"_s},
        {"Null", {}},
        {"Missing", {}},
        {"Empty", {}},
        {"Viewed", u"false"_s},
        {"Seen", u"true"_s},
        {"Negative", u"-12"_s},
        {"Huge", u"18446744073709551615"_s},
        {"Speed", u"2097152.5"_s},
        {"Zero", u"0"_s},
        {"Cyrillic", u"Фильм"_s},
        {"Escaped", u"a\"b\\c&"_s},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(JsonValueText(entry, c.member), c.text) << c.member;
    }
}

TEST(JsonValueText, ObjectsArraysAndNonObjectHoldersAreErrors) {
    const Json entry = Json::parse(kEntry);
    EXPECT_THROW(JsonValueText(entry, "Files"), std::runtime_error);
    EXPECT_THROW(JsonValueText(entry, "Obj"), std::runtime_error);
    for (const char* holder : {"[1,2]", "\"text\"", "3", "null"}) {
        EXPECT_THROW(JsonValueText(Json::parse(holder), "Name"), std::runtime_error) << holder;
    }
}

// A name that begins with U+FEFF keeps it: the character is the server's, not a byte-order mark.
TEST(JsonValueText, KeepsALeadingFeffCharacter) {
    const auto entry = nlohmann::ordered_json::parse(R"({"Name":"\ufeff\ufeffx"})");
    EXPECT_EQ(JsonValueText(entry, "Name"), QStringLiteral("\uFEFF\uFEFFx"));
    EXPECT_EQ(compactJsonText(nlohmann::ordered_json("\xEF\xBB\xBFx")),
              QStringLiteral("\"\uFEFFx\""));
}

TEST(JsonValueText, NumberWithExponentReadsAsItsShortestValue) {
    EXPECT_EQ(JsonValueText(Json::parse(R"({"n":1E2})"), "n"), u"100.0"_s);
    EXPECT_EQ(JsonValueText(Json::parse(R"({"n":0.1})"), "n"), u"0.1"_s);
}

TEST(CompactJsonText, KeepsMembersInReceivedOrderWithoutBlanks) {
    const Json entry = Json::parse(R"({ "Name" : "b", "Hash":"1",
        "Files" : [ {"Size": 3, "Name":"Фильм"} ], "Info":"{\"poster_path\":\"x\"}" })");
    EXPECT_EQ(
        compactJsonText(entry),
        uR"({"Name":"b","Hash":"1","Files":[{"Size":3,"Name":"Фильм"}],"Info":"{\"poster_path\":\"x\"}"})"_s);
}

TEST(CompactJsonText, GivesTheSortKeysOfTheTorrentList) {
    // Keys compare as 16-bit code sequences: upper case before lower case.
    const Json list = Json::parse(R"([{"Name":"beta"},{"Name":"Alpha"},{"Name":"alpha"}])");
    std::vector<QString> keys;
    for (const Json& entry : list) {
        keys.push_back(compactJsonText(entry));
    }
    std::sort(keys.begin(), keys.end());
    EXPECT_EQ(keys, (std::vector<QString>{uR"({"Name":"Alpha"})"_s, uR"({"Name":"alpha"})"_s,
                                          uR"({"Name":"beta"})"_s}));
}

TEST(ParseJsonAnswer, AcceptsJsonAndRefusesEverythingElse) {
    EXPECT_TRUE(parseJsonAnswer("[]").has_value());
    EXPECT_TRUE(parseJsonAnswer(" {\"a\":[1,{\"b\":null}]} ").has_value());
    EXPECT_TRUE(parseJsonAnswer("\"[[[[\"").has_value());
    for (const QByteArray& bad :
         {QByteArray(), QByteArray("<html>"), QByteArray("[1,]"), QByteArray("{\"a\":1"),
          QByteArray("\"\xff\""), QByteArray("[] trailing")}) {
        EXPECT_FALSE(parseJsonAnswer(bad).has_value()) << bad.toStdString();
    }
}

TEST(ParseJsonAnswer, RefusesNestingBeyondTheLimit) {
    const auto nested = [](int depth) -> QByteArray {
        return QByteArray(depth, '[') + QByteArray(depth, ']');
    };
    EXPECT_TRUE(parseJsonAnswer(nested(kMaxJsonAnswerDepth)).has_value());
    EXPECT_FALSE(parseJsonAnswer(nested(kMaxJsonAnswerDepth + 1)).has_value());
    EXPECT_FALSE(parseJsonAnswer(nested(200000)).has_value());
}

} // namespace
} // namespace qb::connection
