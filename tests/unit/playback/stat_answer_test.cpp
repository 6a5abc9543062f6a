#include "playback/preload/progress_text.h"
#include "playback/preload/stat_answer.h"

#include <gtest/gtest.h>

#include <optional>

namespace {
using namespace qb::playback;

struct ProgressRow {
    const char* answer;
    const char16_t* text;
    bool finished;
};

class Progress : public ::testing::TestWithParam<ProgressRow> {};

TEST_P(Progress, LineAndEndTest) {
    const std::optional<PreloadStat> stat = readStatAnswer(GetParam().answer);
    ASSERT_TRUE(stat.has_value()) << GetParam().answer;
    EXPECT_EQ(progressText(*stat), QString::fromUtf16(GetParam().text));
    EXPECT_EQ(preloadFinished(*stat), GetParam().finished);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, Progress,
    ::testing::Values(
        ProgressRow{R"({"PreloadSize":33554432,"PreloadedBytes":16777216,"ConnectedSeeders":9,)"
                    R"("ActivePeers":11,"DownloadSpeed":1572864.9})",
                    u"Сиды: 9 [11] Скорость: 1.5МБ/с  Предзагрузка [16/32МБ]: 50% [ESC - отменить]",
                    false},
        // Equal counts go on polling; only more preloaded bytes than asked for end it.
        ProgressRow{R"({"PreloadSize":20971520,"PreloadedBytes":20971520,"ConnectedSeeders":0,)"
                    R"("ActivePeers":0,"DownloadSpeed":0})",
                    u"Сиды: 0 [0] Скорость: 0МБ/с  Предзагрузка [20/20МБ]: 100% [ESC - отменить]",
                    false},
        ProgressRow{R"({"PreloadSize":20971520,"PreloadedBytes":20971521,"ConnectedSeeders":1,)"
                    R"("ActivePeers":2,"DownloadSpeed":2097152})",
                    u"Сиды: 1 [2] Скорость: 2МБ/с  Предзагрузка [20/20МБ]: 100% [ESC - отменить]",
                    true},
        // Speeds: two decimals at most, no trailing zeros; the fraction of bytes is cut first.
        ProgressRow{R"({"PreloadSize":"3145728","PreloadedBytes":"524288","ConnectedSeeders":"3",)"
                    R"("ActivePeers":"4","DownloadSpeed":"1310720.99"})",
                    u"Сиды: 3 [4] Скорость: 1.25МБ/с  Предзагрузка [1/3МБ]: 17% [ESC - отменить]",
                    false},
        ProgressRow{R"({"PreloadSize":100,"PreloadedBytes":1,"ConnectedSeeders":1,)"
                    R"("ActivePeers":1,"DownloadSpeed":1048575.9})",
                    u"Сиды: 1 [1] Скорость: 1МБ/с  Предзагрузка [0/0МБ]: 1% [ESC - отменить]",
                    false},
        ProgressRow{R"({"PreloadSize":10,"PreloadedBytes":0,"ConnectedSeeders":1,)"
                    R"("ActivePeers":1,"DownloadSpeed":5243})",
                    u"Сиды: 1 [1] Скорость: 0.01МБ/с  Предзагрузка [0/0МБ]: 0% [ESC - отменить]",
                    false},
        // Nothing to preload yet: 0 of 0 is 0 % and goes on polling.
        ProgressRow{R"({"PreloadSize":0,"PreloadedBytes":0,"ConnectedSeeders":0,)"
                    R"("ActivePeers":0,"DownloadSpeed":0})",
                    u"Сиды: 0 [0] Скорость: 0МБ/с  Предзагрузка [0/0МБ]: 0% [ESC - отменить]",
                    false},
        ProgressRow{R"({"PreloadSize":0,"PreloadedBytes":5})",
                    u"Сиды: 0 [0] Скорость: 0МБ/с  Предзагрузка [0/0МБ]: 0% [ESC - отменить]",
                    true},
        // Shown values that are missing, null, objects or words.
        ProgressRow{R"({"PreloadSize":1048576,"PreloadedBytes":0,"ConnectedSeeders":null,)"
                    R"("ActivePeers":{"a":1},"DownloadSpeed":"fast"})",
                    u"Сиды: 0 [0] Скорость: 0МБ/с  Предзагрузка [0/1МБ]: 0% [ESC - отменить]",
                    false},
        ProgressRow{R"({"PreloadSize":2147483647,"PreloadedBytes":-1,"ConnectedSeeders":"many",)"
                    R"("ActivePeers":7,"DownloadSpeed":1e20})",
                    u"Сиды: many [7] Скорость: 95367431640625МБ/с  Предзагрузка [0/2048МБ]: 0% "
                    u"[ESC - отменить]",
                    false}));

TEST(StatAnswer, FailedPolls) {
    for (const char* answer : {
             "",
             "not json",
             "<html>502 Bad Gateway</html>",
             "[1,2]",
             "42",
             R"({"PreloadedBytes":1})",
             R"({"PreloadSize":1})",
             R"({"PreloadSize":null,"PreloadedBytes":1})",
             R"({"PreloadSize":1.5,"PreloadedBytes":1})",
             R"({"PreloadSize":"abc","PreloadedBytes":1})",
             R"({"PreloadSize":2147483648,"PreloadedBytes":1})",
             R"({"PreloadSize":1,"PreloadedBytes":-2147483649})",
             R"({"PreloadSize":[1],"PreloadedBytes":1})",
             R"({"PreloadSize":1,"PreloadedBytes":1)",
         }) {
        EXPECT_FALSE(readStatAnswer(answer).has_value()) << answer;
    }
}

TEST(StatAnswer, ReadsTheFiveValues) {
    const std::optional<PreloadStat> stat = readStatAnswer(
        R"({"Name":"x","PreloadedBytes":10485760,"PreloadSize":20971520,"DownloadSpeed":2097152.5,)"
        R"("ActivePeers":11,"ConnectedSeeders":9,"FileStats":[]})");
    ASSERT_TRUE(stat.has_value());
    EXPECT_EQ(*stat, (PreloadStat{20971520, 10485760, QStringLiteral("9"), QStringLiteral("11"),
                                  QStringLiteral("2097152.5"), false}));
}

TEST(SpeedInMegabytes, Table) {
    const std::pair<const char*, const char*> rows[] = {
        {"1572864.9", "1.5"},
        {"2097152", "2"},
        {"0", "0"},
        {"", "0"},
        {".5", "0"},
        {"abc", "0"},
        {"1e400", "0"},
        {"-1048576", "-1"},
        {"5242", "0"},
        {"10485", "0.01"},
        {"1048576000", "1000"},
    };
    for (const auto& [in, out] : rows) {
        EXPECT_EQ(speedInMegabytes(QString::fromLatin1(in)), QString::fromLatin1(out)) << in;
    }
}

} // namespace
