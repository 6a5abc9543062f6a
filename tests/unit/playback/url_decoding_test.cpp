#include "playback/text/url_decoding.h"

#include <gtest/gtest.h>

namespace {

struct Row {
    const char* in;
    const char* out; // UTF-8
};

TEST(UrlDecode, Table) {
    const Row rows[] = {
        {"", ""},
        {"plain/path?x=1", "plain/path?x=1"},
        {"a+b", "a b"},
        {"%2B", "+"},
        {"%%", "%"},
        {"100%%25", "100%25"}, // "%%" is read first; the digits after it stay
        {"%3a%3A", "::"},      // either case of hex digits
        {"magnet%3A%3Fxt%3Durn%3Abtih%3Aab%26dn%3DBig%2BBuck",
         "magnet:?xt=urn:btih:ab&dn=Big+Buck"},
        {"%D0%9C%D0%B0%D1%82", "Мат"}, // UTF-8 bytes make one character each
        {"%", "%"},                    // a broken escape stays as it is
        {"%4", "%4"},
        {"%zz", "%zz"},
        {"%4g%41", "%4gA"},
        {"end%", "end%"},
        {"Фильм+%281999%29", "Фильм (1999)"}, // text that is already decoded
    };
    for (const Row& row : rows) {
        EXPECT_EQ(qb::playback::urlDecode(QString::fromUtf8(row.in)), QString::fromUtf8(row.out))
            << row.in;
    }
}

TEST(UrlDecode, BytesThatAreNotUtf8DoNotBreakTheRest) {
    const QString decoded = qb::playback::urlDecode(QStringLiteral("a%FFb%00c"));
    EXPECT_TRUE(decoded.startsWith(QLatin1Char('a')));
    EXPECT_TRUE(decoded.endsWith(QLatin1Char('c')));
    EXPECT_TRUE(decoded.contains(QChar(0)));
}

} // namespace
