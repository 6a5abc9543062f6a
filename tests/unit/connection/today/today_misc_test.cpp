// Today's preload status, the first stream of its playlists, and how a server's generation is
// told.
#include "connection/api/server_generation.h"
#include "connection/list/alive_check.h"
#include "connection/today/playlist_stream.h"
#include "connection/today/viewed_marks.h"
#include "playback/preload/today_stat_answer.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace qb::connection {
namespace {
using playback::PreloadStat;
using playback::readTodayStatAnswer;

TEST(TodayStat, MissingCountsReadAsZero) {
    // A torrent just loaded: the server leaves out every count that is 0.
    const auto stat = readTodayStatAnswer(R"({"title":"x","hash":"h","stat":3,"stat_string":"w"})");
    ASSERT_TRUE(stat);
    EXPECT_EQ(*stat, (PreloadStat{0, 0, {}, {}, {}, false}));
}

struct StatCase {
    const char* answer;
    bool finished;
};

class TodayPreloadEnd : public ::testing::TestWithParam<StatCase> {};

TEST_P(TodayPreloadEnd, WhenTheBytesAreInAndThePreloadStateIsLeft) {
    const auto stat = readTodayStatAnswer(QByteArray(GetParam().answer));
    ASSERT_TRUE(stat);
    EXPECT_EQ(stat->finished, GetParam().finished) << GetParam().answer;
}

INSTANTIATE_TEST_SUITE_P(
    Table, TodayPreloadEnd,
    ::testing::Values(StatCase{R"({"stat":2,"preload_size":100,"preloaded_bytes":50})", false},
                      // Reached but still preloading: the server has not counted it done yet.
                      StatCase{R"({"stat":2,"preload_size":100,"preloaded_bytes":100})", false},
                      StatCase{R"({"stat":3,"preload_size":100,"preloaded_bytes":100})", true},
                      StatCase{R"({"stat":3,"preload_size":100,"preloaded_bytes":130})", true},
                      // Before the preload has begun: working, nothing asked yet.
                      StatCase{R"({"stat":3})", false},
                      StatCase{R"({"stat":1,"preload_size":100})", false}));

TEST(TodayStat, ShownValuesAsSent) {
    const auto stat = readTodayStatAnswer(
        R"({"stat":2,"preload_size":33554432,"preloaded_bytes":16777216,"connected_seeders":9,
            "active_peers":11,"download_speed":1572864.9})");
    ASSERT_TRUE(stat);
    EXPECT_EQ(*stat, (PreloadStat{33554432, 16777216, u"9"_s, u"11"_s, u"1572864.9"_s, false}));
}

TEST(TodayStat, APollFailsOnWhatCannotBeACount) {
    for (const char* answer :
         {"", "[]", "null", "{\"preload_size\":\"100\"}", "{\"preloaded_bytes\":1.5}",
          "{\"preload_size\":2147483648}", "{\"preloaded_bytes\":-2147483649}", "{"}) {
        EXPECT_FALSE(readTodayStatAnswer(QByteArray(answer))) << answer;
    }
}

TEST(PlaylistStream, TheFirstStreamOfTheServersPlaylist) {
    const QByteArray playlist =
        "#EXTM3U\n#EXTINF:0,e01.mkv\n"
        "#EXTVLCOPT:input-slave=http://h/stream/e01.srt?link=ab&index=2&play#\n"
        "http://127.0.0.1:8090/stream/e01.mkv?link=ab&index=3&play\n"
        "#EXTINF:0,e02.mkv\nhttp://127.0.0.1:8090/stream/e02.mkv?link=ab&index=4&play\n";
    const auto stream = today::firstPlaylistStream(playlist);
    ASSERT_TRUE(stream);
    EXPECT_EQ(stream->hash, u"ab"_s);
    EXPECT_EQ(stream->fileId, 3);
}

TEST(PlaylistStream, NothingWithoutAStreamLine) {
    for (const char* playlist :
         {"", "#EXTM3U\n", "http://h/stream/a.mkv?link=ab&play\n", "http://h/?index=1\n",
          "http://h/stream?link=&index=1\n", "http://h/stream?link=ab&index=x\n"}) {
        EXPECT_FALSE(today::firstPlaylistStream(QByteArray(playlist))) << playlist;
    }
    // An older server's playlist names no index: the preload then takes the first file.
    EXPECT_FALSE(
        today::firstPlaylistStream("#EXTM3U\nhttp://h/torrent/play?link=magnet%3A%3Fxt&file=1\n"));
}

TEST(ViewedMarks, ByHashAndFileId) {
    const today::ViewedMarks marks = today::readViewedMarks(
        R"([{"hash":"ab","file_index":3,"timecode":12.5},{"hash":"ab","file_index":1},
            {"hash":"cd","file_index":2},{"hash":"ef"},{"file_index":4},{"hash":7,"file_index":1},
            {"hash":"gh","file_index":"2"},5])");
    EXPECT_EQ(marks.size(), 2);
    EXPECT_EQ(marks.value(u"ab"_s), (std::set<long long>{1, 3}));
    EXPECT_EQ(marks.value(u"cd"_s), (std::set<long long>{2}));
    EXPECT_TRUE(today::readViewedMarks("{}").isEmpty());
    EXPECT_TRUE(today::readViewedMarks("").isEmpty());
}

struct EchoCase {
    const char16_t* echo;
    std::optional<ServerGeneration> generation;
};

class Echo : public ::testing::TestWithParam<EchoCase> {};

TEST_P(Echo, TellsTheGeneration) {
    EXPECT_EQ(generationOfEcho(QString::fromUtf16(GetParam().echo)), GetParam().generation);
}

INSTANTIATE_TEST_SUITE_P(Table, Echo,
                         ::testing::Values(EchoCase{u"MatriX.143", ServerGeneration::Today},
                                           EchoCase{u"MatriX.136.2.NE", ServerGeneration::Today},
                                           EchoCase{u"1.2.80_beta7.3", ServerGeneration::Today},
                                           EchoCase{u"1.2.79_beta2\n", ServerGeneration::Today},
                                           EchoCase{u"1.1.77", ServerGeneration::Api11},
                                           EchoCase{u"1.1.65", ServerGeneration::Api11},
                                           EchoCase{u"", std::nullopt},
                                           EchoCase{u"OK", std::nullopt},
                                           EchoCase{u"MatriX.143\n<html>", std::nullopt},
                                           EchoCase{u"<html>MatriX</html>", std::nullopt}));

TEST(GenerationMemory, IsKeptForOneAddressAndLearnedAgainForAnother) {
    GenerationMemory memory;
    const QString a = u"http://127.0.0.1:8090"_s;
    EXPECT_EQ(memory.generationFor(a), ServerGeneration::Api11);
    memory.learn(a, ServerGeneration::Today);
    EXPECT_EQ(memory.generationFor(a), ServerGeneration::Today);
    EXPECT_EQ(memory.generationFor(u"http://10.0.0.2:8090"_s), ServerGeneration::Api11);
    memory.learn(u"http://10.0.0.2:8090"_s, ServerGeneration::Api11);
    EXPECT_EQ(memory.generationFor(a), ServerGeneration::Api11);
    memory.learn(a, ServerGeneration::Today);
    memory.forget();
    EXPECT_EQ(memory.generationFor(a), ServerGeneration::Api11);
}

TEST(AliveCheck, TodaysLongVersionTextKeepsTheServerConnected) {
    EXPECT_EQ(aliveCheckDecision(false, {}, u"MatriX.136.2.NE"_s), AliveCheckAction::Nothing);
    EXPECT_EQ(aliveCheckDecision(false, {}, u"1.2.80_beta7.3"_s), AliveCheckAction::Nothing);
    // Any other text past ten characters is no echo.
    EXPECT_EQ(aliveCheckDecision(false, {}, u"<html></html>"_s), AliveCheckAction::Unreachable);
    EXPECT_EQ(aliveCheckDecision(false, {}, u"1.1.77.0.0.0"_s), AliveCheckAction::Unreachable);
}
} // namespace
} // namespace qb::connection
