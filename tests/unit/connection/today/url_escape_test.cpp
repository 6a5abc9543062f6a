// The escapes of today's server addresses.
#include "connection/today/url_escape.h"

#include <gtest/gtest.h>

namespace qb::connection::today {
namespace {
struct EscapeCase {
    const char16_t* text;
    const char* path;
    const char* query;
};

class Escapes : public ::testing::TestWithParam<EscapeCase> {};

TEST_P(Escapes, AsTheServerReadsThem) {
    const EscapeCase& c = GetParam();
    EXPECT_EQ(pathEscape(QString::fromUtf16(c.text)), QString::fromLatin1(c.path));
    EXPECT_EQ(queryEscape(QString::fromUtf16(c.text)), QString::fromLatin1(c.query));
}

INSTANTIATE_TEST_SUITE_P(
    Table, Escapes,
    ::testing::Values(
        EscapeCase{u"Movie.2024.1080p.mkv", "Movie.2024.1080p.mkv", "Movie.2024.1080p.mkv"},
        EscapeCase{u"a b", "a%20b", "a+b"},
        EscapeCase{u"a/b?c#d;e,f", "a%2Fb%3Fc%23d%3Be%2Cf", "a%2Fb%3Fc%23d%3Be%2Cf"},
        EscapeCase{u"$&+:=@", "$&+:=@", "%24%26%2B%3A%3D%40"}, EscapeCase{u"-_.~", "-_.~", "-_.~"},
        EscapeCase{u"%", "%25", "%25"},
        EscapeCase{u"Сияние", "%D0%A1%D0%B8%D1%8F%D0%BD%D0%B8%D0%B5",
                   "%D0%A1%D0%B8%D1%8F%D0%BD%D0%B8%D0%B5"},
        EscapeCase{u"magnet:?xt=urn:btih:ab&dn=x y", "magnet:%3Fxt=urn:btih:ab&dn=x%20y",
                   "magnet%3A%3Fxt%3Durn%3Abtih%3Aab%26dn%3Dx+y"}));
} // namespace
} // namespace qb::connection::today
