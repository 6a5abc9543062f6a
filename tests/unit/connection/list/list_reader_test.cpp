// The fast reading of the list answer gives exactly what the plain reader and sort give.
#include "connection/http/json_value_text.h"
#include "connection/list/server_list_reader.h"

#include "list_test_print.h"

#include <gtest/gtest.h>

#include <QString>

#include <random>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace qb::connection {
namespace {
using Json = nlohmann::ordered_json;

const QStringList kMarks{QStringLiteral("x^h"), QStringLiteral("Сталкер^3")};

ListParseOutcome plain(const QByteArray& answer) {
    ListParseOutcome outcome = parseServerList(answer);
    sortServerList(outcome.array);
    return outcome;
}

// Same outcome, same entries in the same order, each with the same members, types and texts.
void expectSameAsPlain(const QByteArray& answer) {
    const ListParseOutcome expected = plain(answer);
    const ServerListRead fast = readServerList(answer);
    ASSERT_EQ(fast.kind, expected.kind) << answer.left(200).toStdString();
    ASSERT_EQ(fast.entries.size(), expected.array.size());
    ASSERT_EQ(fast.rowFields.size(), expected.array.size());
    for (std::size_t i = 0; i < fast.entries.size(); ++i) {
        EXPECT_EQ(fast.entries[i].dump(), expected.array[i].dump()) << "entry " << i;
        EXPECT_EQ(fast.entries[i], expected.array[i]) << "entry " << i;
        EXPECT_EQ(torrentRowText(fast.rowFields[i], kMarks),
                  torrentRowText(expected.array[i], kMarks))
            << "entry " << i;
    }
    // Each entry is read once and keeps its address.
    if (!fast.entries.empty()) {
        EXPECT_EQ(&fast.entries[0], &*fast.entries.begin());
    }
}

class SameAsPlain : public ::testing::TestWithParam<const char*> {};

TEST_P(SameAsPlain, ForEveryKindOfAnswer) {
    expectSameAsPlain(QByteArray(GetParam()));
}

INSTANTIATE_TEST_SUITE_P(
    Table, SameAsPlain,
    ::testing::Values(
        // Not arrays and not JSON.
        "", "   ", "{}", "{\"Name\":\"a\"}", "\"text\"", "12", "null", "[", "[1,]", "[]junk",
        "<html>502 Bad Gateway</html>", "[\"\\ud800\"]", "[\"\\udc00x\"]", "[\"a\x01\"]",
        "[\"\xFF\"]", "[1e400]", "\xEF\xBB\xBF[{\"Name\":\"bom\"}]",
        // Member order as received, repeated names (first place, last value).
        "[]", " [ { \"b\" : 1 , \"a\" : 2 } ] ", "[{\"Name\":\"x\",\"Name\":\"y\",\"Hash\":\"h\"}]",
        // Integer literals exactly, negative zero, fractions, exponents, past 64 bits.
        "[{\"Length\":18446744073709551615},{\"Length\":9223372036854775807},"
        "{\"Length\":-9223372036854775808},{\"Length\":0},{\"Length\":-0}]",
        "[{\"Length\":-0.0},{\"Length\":2097152.5},{\"Length\":1E2},{\"Length\":1e-7}]",
        "[{\"Length\":18446744073709551616},{\"Length\":-9223372036854775809}]",
        // Escapes: written back the way the sort key writes them.
        "[{\"Name\":\"\\u0041\\/\\\"\\\\\\b\\f\\n\\r\\t\\u0001\\u001f\\u007f\"}]",
        "[\"\\uD83D\\uDE00\",\"\\uFFFF\",\"\\uE000\",\"\xF0\x9F\x98\x80x\",\"\xEE\x80\x80\"]",
        // Members the rows show, of every kind; the last of repeated names counts.
        "[{\"Name\":1.5,\"Hash\":true,\"Length\":\"2147483648\",\"Status\":1},"
        "{\"Name\":null,\"Length\":[1],\"Status\":\"1\"},{\"Name\":{\"a\":1},\"Length\":-1e9}]",
        "[{\"Name\":\"x\",\"Hash\":\"h\",\"Hash\":\"g\",\"Length\":1073741824}]",
        "[{\"Name\":\"\\ufeffFEFF first\",\"Length\":1}]",
        // Go's encoder writes "&", "<" and ">" as escapes, as a real server does.
        "[{\"Magnet\":\"magnet:?xt=urn:btih:1\\u0026dn=a\\u003cb\\u003e\",\"Name\":\"\\u2028\"}]",
        // Mixed entries: scalars, arrays and objects sort by their text like any entry.
        "[3,\"3\",null,true,false,[],{},[{}],{\"a\":[1,{\"b\":null}]},-1,1.5]"));

TEST(SameAsPlain, ForRealisticAnswersWithRandomNames) {
    std::mt19937 rng(7);
    const char* const names[] = {"Сталкер",           "stalker", "Stalker", "\xF0\x9F\x8E\xAC film",
                                 "\xEF\xBC\xA1 wide", "a\\\"q",  "",        "Ёлка"};
    for (int round = 0; round < 20; ++round) {
        std::string answer = "[";
        const int entries = static_cast<int>(rng() % 40);
        for (int i = 0; i < entries; ++i) {
            answer += i == 0 ? "" : ",";
            answer += "{\"Name\":\"" + std::string(names[rng() % 8]) + "\",\"Hash\":\"" +
                      std::to_string(rng() % 5) + "\",\"Length\":" + std::to_string(rng()) +
                      ",\"Status\":" + std::to_string(rng() % 4) +
                      ",\"Files\":[{\"Size\":" + std::to_string(rng() % 3) + "}]}";
        }
        answer += "]";
        expectSameAsPlain(QByteArray::fromStdString(answer));
    }
}

// The sort compares a beginning of each entry's text first. A beginning that ends inside an
// array, a string or an object must be a true beginning of the whole text: entries that agree
// up to there and differ right after it are ordered as the plain sort orders them.
TEST(SameAsPlain, ForEntriesThatDifferJustWhereTheirBeginningsEnd) {
    const auto ones = [](int count, const char* last) {
        std::string items;
        for (int i = 0; i < count; ++i) {
            items += i == 0 ? "1" : ",1";
        }
        return items + last;
    };
    for (int a = 40; a <= 52; ++a) {
        for (int b = 40; b <= 52; ++b) {
            for (const char* last : {"", ",0", ",2"}) {
                expectSameAsPlain(QByteArray::fromStdString("[{\"A\":[" + ones(a, last) +
                                                            "]},{\"A\":[" + ones(b, "") + "]}]"));
                expectSameAsPlain(QByteArray::fromStdString("[{\"A\":{\"B\":[" + ones(a, last) +
                                                            "]}},{\"A\":{\"B\":[" + ones(b, "") +
                                                            "]}}]"));
                expectSameAsPlain(QByteArray::fromStdString(
                    "[{\"A\":\"" + std::string(static_cast<std::size_t>(a * 2), 'x') + last +
                    "\",\"B\":1},{\"A\":\"" + std::string(static_cast<std::size_t>(b * 2), 'x') +
                    "\"}]"));
            }
        }
    }
}

// An answer whose spare capacity lies in front of its data, as after a remove(0, n): the room
// behind its end is a few bytes, less than the reader's parser reads past the end.
TEST(SameAsPlain, ForAnAnswerWithItsSpareRoomInFront) {
    const QByteArray entries =
        "[{\"Name\":\"b\",\"Hash\":\"2\",\"Length\":5},{\"Name\":\"a\",\"Hash\":\"1\"}]";
    QByteArray answer(4096, ' ');
    answer += entries;
    answer.squeeze();
    answer.remove(0, 4096);
    ASSERT_EQ(answer, entries);
    ASSERT_GE(answer.capacity() - answer.size(), 4096); // what a capacity check would have seen
    expectSameAsPlain(answer);
}

TEST(SameAsPlain, ForNestingAtAndPastTheLimit) {
    for (const int depth :
         {kMaxJsonAnswerDepth - 1, kMaxJsonAnswerDepth, kMaxJsonAnswerDepth + 1, 1100}) {
        const QByteArray deep = QByteArray(depth, '[') + QByteArray(depth, ']');
        expectSameAsPlain(deep);
    }
}

TEST(Utf16Order, AgreesWithComparingUtf16CodeUnits) {
    const std::vector<std::string> texts = {"",
                                            "a",
                                            "ab",
                                            "b",
                                            "A",
                                            "\x7F",
                                            "\xC2\x80",
                                            "\xD0\x81",
                                            "\xED\x9F\xBF",
                                            "\xEE\x80\x80",
                                            "\xEF\xBF\xBF",
                                            "\xF0\x90\x80\x80",
                                            "\xF0\x9F\x98\x80",
                                            "\xF4\x8F\xBF\xBF",
                                            "x\xEF\xBC\xA1",
                                            "x\xF0\x9F\x98\x80",
                                            "x\xEF\xBC\xA1y",
                                            "x\xF0\x9F\x98\x80y"};
    for (const std::string& a : texts) {
        for (const std::string& b : texts) {
            EXPECT_EQ(utf16Less(a, b), QString::fromStdString(a) < QString::fromStdString(b))
                << a << " / " << b;
        }
    }
}

// Entries become values when asked for, from any thread, each once: the same value at the same
// address however often and wherever it is read.
TEST(ServerEntries, ReadsEachEntryOnceFromAnyThread) {
    std::string answer = "[";
    for (int i = 0; i < 300; ++i) {
        answer += (i == 0 ? "{\"Name\":\"" : ",{\"Name\":\"") + std::to_string(i * 7919 % 300) +
                  "\",\"Files\":[{\"Size\":" + std::to_string(i) + "}]}";
    }
    answer += "]";
    const ServerListRead read = readServerList(QByteArray::fromStdString(answer));
    const ListParseOutcome expected = plain(QByteArray::fromStdString(answer));
    ASSERT_EQ(read.entries.size(), 300u);
    std::vector<const Json*> seen(read.entries.size());
    std::thread other([&read, &seen] {
        for (std::size_t i = read.entries.size(); i-- > 0;) {
            seen[i] = &read.entries[i];
        }
    });
    std::size_t index = 0;
    for (const Json& entry : read.entries) {
        EXPECT_EQ(entry, expected.array[index]);
        ++index;
    }
    other.join();
    for (std::size_t i = 0; i < read.entries.size(); ++i) {
        EXPECT_EQ(seen[i], &read.entries.at(i));
    }
    EXPECT_THROW((void)read.entries.at(300), std::out_of_range);
    // A list set from values holds them as they are.
    const ServerEntries fromValues(Json::parse(R"([{"a":1},2])"));
    ASSERT_EQ(fromValues.size(), 2u);
    EXPECT_EQ(fromValues[1], 2);
    EXPECT_TRUE(ServerEntries(Json::object()).empty());
}

// A fresh copy holds the same entries and reads them on its own; it tells a list of the same
// answer from a list of another, also one of the same text.
TEST(ServerEntries, AFreshCopyReadsTheSameEntriesOnItsOwn) {
    const QByteArray answer = R"([{"Name":"b","Hash":"2"},{"Name":"a","Hash":"1"}])";
    const ServerListRead read = readServerList(answer);
    ASSERT_EQ(read.entries.size(), 2u);
    const Json& first = read.entries[0];
    const ServerEntries copy = read.entries.freshCopy();
    ASSERT_EQ(copy.size(), 2u);
    EXPECT_EQ(copy[0], first);
    EXPECT_NE(&copy[0], &first);
    EXPECT_EQ(copy[1], plain(answer).array[1]);
    EXPECT_TRUE(copy.readsTheSameAnswerAs(read.entries));
    EXPECT_TRUE(read.entries.readsTheSameAnswerAs(copy.freshCopy()));
    EXPECT_FALSE(copy.readsTheSameAnswerAs(readServerList(answer).entries));

    const ServerEntries fromValues(Json::parse(R"([{"Hash":"1"}])"));
    const ServerEntries valuesCopy = fromValues.freshCopy();
    ASSERT_EQ(valuesCopy.size(), 1u);
    EXPECT_EQ(valuesCopy[0], fromValues[0]);
    EXPECT_FALSE(valuesCopy.readsTheSameAnswerAs(fromValues));
    EXPECT_FALSE(fromValues.readsTheSameAnswerAs(fromValues));
}

} // namespace
} // namespace qb::connection
