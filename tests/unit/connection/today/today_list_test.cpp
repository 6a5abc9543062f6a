// Today's list answer read as rows and client entries, the fast way and the plain way alike.
#include "connection/http/json_value_text.h"
#include "connection/list/torrent_row.h"
#include "connection/today/client_entry.h"
#include "connection/today/today_list.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace qb::connection::today {
namespace {
using Json = nlohmann::ordered_json;

// A list as MatriX.143 answers it: newest first, empty members left out, a torrent only in the
// database without name and files, one still getting its metadata.
const char* const kAnswer = R"([
 {"title":"Zeta","category":"","poster":"","timestamp":30,"name":"Zeta.Own",
  "hash":"cccccccccccccccccccccccccccccccccccccccc","stat":3,"stat_string":"Torrent working",
  "torrent_size":1610612736,"file_stats":[{"id":1,"path":"Zeta.mkv","length":1610612736}]},
 {"title":"","category":"","poster":"","timestamp":20,"name":"Alpha.Own",
  "hash":"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa","stat":1,"stat_string":"Torrent getting info"},
 {"title":"Beta","category":"movie","poster":"http://p","timestamp":10,
  "hash":"bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb","stat":5,"stat_string":"Torrent in db",
  "torrent_size":1073741824}
])";

TEST(TodayList, RowsShowTitleSizeAndTheSearchForPeers) {
    const ServerListRead read = readServerList(QByteArray(kAnswer), kListDialect);
    ASSERT_EQ(read.kind, ListAnswerKind::Array);
    QStringList rows;
    for (const TorrentRowFields& fields : read.rowFields) {
        rows << torrentRowText(fields, {});
    }
    // Sorted by each object's text as sent: "title" comes first in every one.
    EXPECT_EQ(rows, (QStringList{u"Alpha.Own - Размер: 0.00 ГБ - пытаемся найти раздающих"_s,
                                 u"Beta - Размер: 1.00 ГБ"_s, u"Zeta - Размер: 1.50 ГБ"_s}));
    ASSERT_EQ(read.entries.size(), 3U);
    EXPECT_EQ(read.entries[1]["Status"], 5);
    EXPECT_EQ(read.entries[1]["Files"], Json::array());
    EXPECT_EQ(read.entries[2]["Files"].size(), 1U);
    // The row read from the entry is the row read from the answer.
    for (std::size_t i = 0; i < read.entries.size(); ++i) {
        EXPECT_EQ(torrentRowText(read.entries[i], {}), rows[static_cast<qsizetype>(i)]);
    }
}

// The fast reader and the plain one give the same rows and entries, whatever the answer.
void expectBothWaysAlike(const QByteArray& answer) {
    const ServerListRead fast = readServerList(answer, kListDialect);
    ListParseOutcome plain = parseServerList(answer);
    ASSERT_EQ(fast.kind, plain.kind) << answer.toStdString();
    if (plain.kind != ListAnswerKind::Array) {
        return;
    }
    sortServerList(plain.array);
    ASSERT_EQ(fast.entries.size(), plain.array.size());
    for (std::size_t i = 0; i < plain.array.size(); ++i) {
        EXPECT_EQ(fast.entries[i], clientEntry(plain.array[i])) << answer.toStdString();
        EXPECT_EQ(torrentRowText(fast.rowFields[i], {}), torrentRowText(fast.entries[i], {}))
            << answer.toStdString();
    }
}

class BothWays : public ::testing::TestWithParam<const char*> {};

TEST_P(BothWays, Agree) {
    expectBothWaysAlike(QByteArray(GetParam()));
}

INSTANTIATE_TEST_SUITE_P(Table, BothWays,
                         ::testing::Values(kAnswer, "[]", "{}", "", "[1,\"x\",null]",
                                           R"([{"title":"a","title":"b"}])",
                                           R"([{"name":"n","title":""}])",
                                           R"([{"title":7,"torrent_size":-0.0,"stat":"1"}])",
                                           R"([{"title":"x","hash":"h","file_stats":{"id":1}}])",
                                           R"([{"title":"\u0000\ud83d\ude00","stat":1e3}])"));
} // namespace
} // namespace qb::connection::today
