#include "connection/list/address_field.h"
#include "connection/list/alive_check.h"
#include "connection/list/release_id.h"

#include "list_test_print.h"

#include <gtest/gtest.h>

#include <optional>

namespace qb::connection {
namespace {
TEST(AliveCheck, JudgesFailureNumbersAndEchoLength) {
    const QString none;
    const struct {
        bool failed;
        QString failureText;
        QString answer;
        AliveCheckAction expected;
    } cases[] = {
        {false, none, QString(), AliveCheckAction::Nothing},
        {false, none, QStringLiteral("1234567890"), AliveCheckAction::Nothing},
        {false, none, QStringLiteral("12345678901"), AliveCheckAction::Unreachable},
        {false, none, QStringLiteral("МатриМатри"), AliveCheckAction::Nothing},
        {false, none, QStringLiteral("<html>404</html>"), AliveCheckAction::Unreachable},
        {true, QStringLiteral("Error 12029: cannot connect"), none, AliveCheckAction::Unreachable},
        {true, QStringLiteral("Error 12007: name not resolved"), none,
         AliveCheckAction::Unreachable},
        {true, QStringLiteral("Error 12152: invalid server response"), none,
         AliveCheckAction::RestartTimer},
        {true, QStringLiteral("12152 then 12029"), none, AliveCheckAction::Unreachable},
        {true, QStringLiteral("Error 12002: the operation timed out"), none,
         AliveCheckAction::Nothing},
        {true, QString(), none, AliveCheckAction::Nothing},
        {true, QStringLiteral("timed out"), QStringLiteral("a long answer text"),
         AliveCheckAction::Nothing},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(aliveCheckDecision(c.failed, c.failureText, c.answer), c.expected)
            << c.failed << " '" << c.failureText.toStdString() << "' '" << c.answer.toStdString()
            << "'";
    }
}

TEST(ReleaseId, ReadsTheHexadecimalIdOfTheDisplayName) {
    const struct {
        const char* magnet;
        std::optional<const char*> expected;
    } cases[] = {
        {"magnet:?xt=urn:btih:0123456789abcdef0123456789abcdef01234567&dn=id_1A2B3&tr=udp%3A%2F%"
         "2Ft",
         "107187"},
        {"magnet:?dn=id_1a2b3&", "107187"},
        {"dn=id_0&", "0"},
        {"dn=id_FFFFFFFFF&", "68719476735"},
        {"dn=id_10&dn=id_20&", "16"},
        {"magnet:?xt=urn:btih:0123456789abcdef0123456789abcdef01234567&dn=Film", std::nullopt},
        {"abc", std::nullopt},
        {"", std::nullopt},
        {"magnet:?dn=id_1A2B3", std::nullopt},
        {"magnet:?dn=id_&tr=x", std::nullopt},
        {"magnet:?dn=id_12G4&", std::nullopt},
        {"magnet:?dn=id_123456789A&", std::nullopt},
        {"magnet:?dn=id_+1F&", std::nullopt},
        {"magnet:?dn=id_-1F&", std::nullopt},
        {"magnet:?dn=id_0x1F&", std::nullopt},
        {"magnet:?dn=id_ 1F&", std::nullopt},
        {"magnet:?dn=id_１２&", std::nullopt},
        {"magnet:?DN=ID_1F&", std::nullopt},
    };
    for (const auto& c : cases) {
        const std::optional<QString> id = releaseIdFromMagnet(QString::fromUtf8(c.magnet));
        if (c.expected) {
            EXPECT_EQ(id, QString::fromUtf8(*c.expected)) << c.magnet;
        } else {
            EXPECT_EQ(id, std::nullopt) << c.magnet;
        }
    }
}

TEST(AddressCleanUp, DropsOneFinalSlashAfterTrimming) {
    const struct {
        QString typed;
        QString expected;
        bool changed;
    } cases[] = {
        {QStringLiteral("http://127.0.0.1:8090/ "), QStringLiteral("http://127.0.0.1:8090"), true},
        {QStringLiteral("\thttp://host:8090/\n"), QStringLiteral("http://host:8090"), true},
        {QStringLiteral("http://host:8090//"), QStringLiteral("http://host:8090/"), true},
        {QStringLiteral("/"), QString(), true},
        {QStringLiteral("http://127.0.0.1:8090"), QStringLiteral("http://127.0.0.1:8090"), false},
        {QStringLiteral("  http://host:8090 "), QStringLiteral("  http://host:8090 "), false},
        {QStringLiteral("http://host/x/ y"), QStringLiteral("http://host/x/ y"), false},
    };
    for (const auto& c : cases) {
        const AddressCleanUp result = cleanAddressOnExit(c.typed);
        EXPECT_EQ(result.text, c.expected) << '"' << c.typed.toStdString() << '"';
        EXPECT_EQ(result.changed, c.changed) << '"' << c.typed.toStdString() << '"';
    }
}
} // namespace
} // namespace qb::connection
