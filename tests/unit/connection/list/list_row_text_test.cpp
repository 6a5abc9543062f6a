#include "connection/list/counts_line.h"
#include "connection/list/torrent_row.h"
#include "connection/list/update_rows.h"

#include "list_test_print.h"

#include <gtest/gtest.h>

#include <cctype>
#include <ostream>
#include <string>

namespace qb::connection {
namespace {
using Json = nlohmann::ordered_json;

struct RowCase {
    const char* label;
    const char* entry;
    QStringList updateRows;
    const char* expected;
};

const RowCase kRowCases[] = {
    {"plain",
     R"({"Name":"Фильм","Hash":"h1","Length":1572864000,"Status":3})",
     {},
     "Фильм - Размер: 1.46 ГБ"},
    {"seeking peers",
     R"({"Name":"Фильм","Length":0,"Status":1})",
     {},
     "Фильм - Размер: 0.00 ГБ - пытаемся найти раздающих"},
    {"status as text",
     R"({"Name":"A","Length":0,"Status":"1"})",
     {},
     "A - Размер: 0.00 ГБ - пытаемся найти раздающих"},
    {"status ten", R"({"Name":"A","Length":0,"Status":10})", {}, "A - Размер: 0.00 ГБ"},
    {"empty name", R"({"Name":"","Length":1073741824})", {}, "... - Размер: 1.00 ГБ"},
    {"null name", R"({"Name":null,"Length":1073741824})", {}, "... - Размер: 1.00 ГБ"},
    {"object name", R"({"Name":{"a":1},"Length":1073741824})", {}, "... - Размер: 1.00 ГБ"},
    {"half rounds up", R"({"Name":"A","Length":134217728})", {}, "A - Размер: 0.13 ГБ"},
    {"one and an eighth", R"({"Name":"A","Length":1207959552})", {}, "A - Размер: 1.13 ГБ"},
    {"no grouping", R"({"Name":"A","Length":1099511627776})", {}, "A - Размер: 1024.00 ГБ"},
    {"length with fraction", R"({"Name":"A","Length":2.5e9})", {}, "A - Размер: 2.33 ГБ"},
    {"length as text", R"({"Name":"A","Length":"1073741824"})", {}, "A - Размер: 1.00 ГБ"},
    {"missing length", R"({"Name":"A"})", {}, "A - Размер: 0.00 ГБ"},
    {"unreadable length", R"({"Name":"A","Length":"много"})", {}, "A - Размер: 0.00 ГБ"},
    {"array length", R"({"Name":"A","Length":[1]})", {}, "A - Размер: 0.00 ГБ"},
    {"tiny negative length", R"({"Name":"A","Length":-1})", {}, "A - Размер: 0.00 ГБ"},
    {"entry not an object", "42", {}, "... - Размер: 0.00 ГБ"},
    {"update row with another title",
     R"({"Name":"Show S01","Hash":"ab12","Length":0})",
     {QStringLiteral("Other^cd34"), QStringLiteral("Show S01 1080p^ab12")},
     "[update] Show S01 1080p - Размер: 0.00 ГБ"},
    {"update row needs the hash",
     R"({"Name":"Show","Hash":"ab12","Length":0})",
     {QStringLiteral("Show^cd34")},
     "Show - Размер: 0.00 ГБ"},
    {"update row needs the name",
     R"({"Name":"Show","Hash":"ab12","Length":0})",
     {QStringLiteral("Film^ab12")},
     "Show - Размер: 0.00 ГБ"},
    {"update match is case-sensitive",
     R"({"Name":"show","Hash":"ab12","Length":0})",
     {QStringLiteral("Show^ab12")},
     "show - Размер: 0.00 ГБ"},
    {"entry without a hash is never marked",
     R"({"Name":"Show","Length":0})",
     {QStringLiteral("Show^ab12")},
     "Show - Размер: 0.00 ГБ"},
    {"first matching row decides",
     R"({"Name":"Show","Hash":"ab12","Length":0})",
     {QStringLiteral("Show^ab12"), QStringLiteral("Show more^ab12")},
     "[update] Show - Размер: 0.00 ГБ"},
    {"later rows test the marked name",
     R"({"Name":"Show","Hash":"ab12","Length":0})",
     {QStringLiteral("Show^ab12"), QStringLiteral("[update] Show again^ab12")},
     "[update] [update] Show again - Размер: 0.00 ГБ"},
    {"marked and seeking",
     R"({"Name":"Show","Hash":"ab12","Length":0,"Status":1})",
     {QStringLiteral("Show^ab12")},
     "[update] Show - Размер: 0.00 ГБ - пытаемся найти раздающих"},
};

void PrintTo(const RowCase& c, std::ostream* os) {
    *os << c.entry;
}

class RowText : public testing::TestWithParam<RowCase> {};

TEST_P(RowText, ShowsNameSizeAndState) {
    const RowCase& c = GetParam();
    EXPECT_EQ(torrentRowText(Json::parse(c.entry), c.updateRows), QString::fromUtf8(c.expected));
}

INSTANTIATE_TEST_SUITE_P(Entries, RowText, testing::ValuesIn(kRowCases), [](const auto& info) {
    std::string name;
    for (const char* p = info.param.label; *p != '\0'; ++p) {
        name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
    }
    return name;
});

TEST(CountsLine, NamesBothLists) {
    EXPECT_EQ(countsLine(0, 0), QStringLiteral("Всего торрентов: на сервере - 0, в поиске - 0"));
    EXPECT_EQ(countsLine(125, 50),
              QStringLiteral("Всего торрентов: на сервере - 125, в поиске - 50"));
}

TEST(UpdateRows, RemovalTakesOnlyTheFirstRowWithTheHash) {
    QStringList rows{QStringLiteral("A^h1"), QStringLiteral("B^h2"), QStringLiteral("C^h2")};
    EXPECT_TRUE(removeFirstUpdateRow(rows, QStringLiteral("h2")));
    EXPECT_EQ(rows, (QStringList{QStringLiteral("A^h1"), QStringLiteral("C^h2")}));

    EXPECT_FALSE(removeFirstUpdateRow(rows, QStringLiteral("h9")));
    EXPECT_FALSE(removeFirstUpdateRow(rows, QString()));
    EXPECT_EQ(rows.size(), 2);
}

TEST(UpdateRows, RemovedMarkIsNotPutBackByTheNextRefresh) {
    const Json entry = Json::parse(R"({"Name":"Show","Hash":"ab12","Length":0})");
    QStringList rows{QStringLiteral("Show^ab12")};
    ASSERT_TRUE(torrentRowText(entry, rows).startsWith(QStringLiteral("[update] ")));
    removeFirstUpdateRow(rows, QStringLiteral("ab12"));
    EXPECT_EQ(torrentRowText(entry, rows), QStringLiteral("Show - Размер: 0.00 ГБ"));
}
} // namespace
} // namespace qb::connection
