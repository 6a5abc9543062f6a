#include "lists/text/list_export.h"
#include "platform/text/text_codec.h"

#include "lists_test_print.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace qb::lists {
namespace {

nlohmann::ordered_json entry(const char* name, const char* magnet, const char* info) {
    return {{"Name", name}, {"Magnet", magnet}, {"Hash", "h"}, {"Info", info}};
}

TEST(ListExport, WritesTwoLinesPerTorrentWithPostersWhereKnown) {
    const nlohmann::ordered_json list = nlohmann::ordered_json::array({
        entry("Сияние севера", "magnet:?xt=urn:btih:AA&dn=id_4BCB7&tr=http%3A%2F%2Ft%2Fann",
              R"({"id":"310455","poster_path":"http://127.0.0.1:8091/img/p1.jpg"})"),
        entry("Без постера", "magnet:?xt=urn:btih:BB&amp=&dn=Two+words%20here", "{}"),
        entry(":: odd name", "magnet:?xt=urn:btih:CC", ""),
    });
    const QByteArray expected =
        "\xEF\xBB\xBF"
        ":: \xD0\xA1\xD0\xB8\xD1\x8F\xD0\xBD\xD0\xB8\xD0\xB5 "
        "\xD1\x81\xD0\xB5\xD0\xB2\xD0\xB5\xD1\x80\xD0\xB0\r\n"
        "magnet:?xt=urn:btih:AA&dn=id_4BCB7&tr=http://t/ann&as=http://127.0.0.1:8091/img/p1.jpg\r\n"
        ":: \xD0\x91\xD0\xB5\xD0\xB7 \xD0\xBF\xD0\xBE\xD1\x81\xD1\x82\xD0\xB5\xD1\x80\xD0\xB0\r\n"
        "magnet:?xt=urn:btih:BB&dn=Two words here\r\n"
        ":: :: odd name\r\n"
        "magnet:?xt=urn:btih:CC\r\n";
    EXPECT_EQ(qb::platform::encodeUtf8WithBom(exportListText(list, 3)), expected);
}

TEST(ListExport, FollowsTheRowsNotTheWholeList) {
    const nlohmann::ordered_json list = nlohmann::ordered_json::array(
        {entry("a", "magnet:?xt=urn:btih:AA", ""), entry("b", "magnet:?xt=urn:btih:BB", "")});
    EXPECT_EQ(exportListText(list, 1), u":: a\r\nmagnet:?xt=urn:btih:AA\r\n"_s);
    EXPECT_EQ(exportListText(list, 5).count(u"\r\n"_s), 4);
    EXPECT_EQ(exportListText(list, 0), QString());
    EXPECT_EQ(exportListText(nlohmann::ordered_json::object(), 2), QString());
}

TEST(ListExport, ReadsThePosterFromTheInfoText) {
    const struct {
        QString info;
        QString poster;
    } cases[] = {
        {uR"({"poster_path":"http://x/p.jpg"})"_s, u"http://x/p.jpg"_s},
        {uR"({"id":"1", "poster_path":"http://x/p.jpg", "z":"q"})"_s, u"http://x/p.jpg"_s},
        {uR"({"backdrop_path":"http://x/b.jpg","poster_path":"http://x/p.jpg"})"_s,
         u"http://x/b.jpg"_s}, // the first "path" wins
        {uR"({"poster_path":""})"_s, QString()},
        {uR"({"poster_path":"http://x/cut)"_s, QString()},
        {u"{}"_s, QString()},
        {QString(), QString()},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(posterFromInfo(c.info), c.poster) << c.info.toStdString();
    }
}

TEST(ListExport, LinkLineDropsAmpEqualsOnlyInItsExactCaseAndDecodes) {
    EXPECT_EQ(exportLinkLine(u"magnet:?a=1&amp=&AMP=2%2B+x"_s, QString()),
              u"magnet:?a=1&AMP=2+ x"_s);
    EXPECT_EQ(exportLinkLine(u"magnet:?dn=%D0%A1"_s, u"http://p"_s), u"magnet:?dn=С&as=http://p"_s);
}

} // namespace
} // namespace qb::lists
