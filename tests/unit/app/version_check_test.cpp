#include "app/version/version_check.h"

#include "build_config.h"

#include <gtest/gtest.h>

namespace {

using namespace Qt::StringLiterals;

using qb::app::isRemoteVersionHigher;
using qb::app::updateDownloadAddress;
using qb::app::usableRemoteVersion;

struct VersionCase {
    const char* name;
    QString answer;
    QString own;
    bool offered;
};

class UpdateOffer : public ::testing::TestWithParam<VersionCase> {};

TEST_P(UpdateOffer, ComparesTheVersionsAsTextsWithoutDots) {
    const VersionCase& c = GetParam();
    const QString remote = usableRemoteVersion(c.answer, c.own);
    EXPECT_EQ(isRemoteVersionHigher(remote, c.own), c.offered) << remote.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Table, UpdateOffer,
    ::testing::Values(
        VersionCase{"newer_release", u"1.8.5"_s, u"1.8.4"_s, true},
        VersionCase{"equal", u"1.8.4"_s, u"1.8.4"_s, false},
        VersionCase{"older", u"1.8.3"_s, u"1.8.4"_s, false},
        VersionCase{"nineteen_beats_184_as_text", u"1.9"_s, u"1.8.4"_s, true},
        VersionCase{"110_is_lower_than_184_as_text", u"1.10"_s, u"1.8.4"_s, false},
        VersionCase{"line_break_makes_six_characters", u"1.8.5\n"_s, u"1.8.4"_s, false},
        VersionCase{"six_characters", u"10.0.0"_s, u"1.8.4"_s, false},
        VersionCase{"empty_answer", QString(), u"1.8.4"_s, false},
        VersionCase{"longer_text_wins_over_its_start", u"1.840"_s, u"1.8.4"_s, true},
        VersionCase{"own_version_missing", u"0.1"_s, QString(), true},
        VersionCase{"own_version_missing_and_no_answer", QString(), QString(), false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(UsableRemoteVersion, KeepsAShortAnswerUnchanged) {
    EXPECT_EQ(usableRemoteVersion(u" 1.9 "_s, u"1.8.4"_s), u" 1.9 ");
    EXPECT_EQ(usableRemoteVersion(u"<html><body>404</body></html>"_s, u"1.8.4"_s), u"1.8.4");
}

TEST(UpdateTexts, AreTheProgramsOwn) {
    EXPECT_EQ(updateDownloadAddress(u"1.8.5"_s),
              QString::fromUtf8(qb::build::kDefaultServiceUrl) + u"/ts/Quillbrook_x86_v1.8.5.zip");
    // Whatever the service answers stays inside the file name.
    EXPECT_EQ(updateDownloadAddress(u"a/?#b"_s), QString::fromUtf8(qb::build::kDefaultServiceUrl) +
                                                     u"/ts/Quillbrook_x86_va%2F%3F%23b.zip");
    EXPECT_EQ(qb::app::versionFileAddress(u"http://s:1"_s), u"http://s:1/version.txt");
    EXPECT_EQ(qb::app::noConnectionText(),
              u"Сервер вовремя не ответил на запрос\rПопробуйте повторить попытку позже");
    EXPECT_EQ(qb::app::noConnectionTitle(), u"Нет соединения");
    EXPECT_EQ(qb::app::updateQuestionText(u"1.8.5"_s),
              u"На сервере имеется новая версия 1.8.5\rХотите скачать обновление?");
    EXPECT_EQ(qb::app::updateQuestionTitle(), u"Обновление");
}

} // namespace
