#include "connection/http/charset_decode.h"

#include <gtest/gtest.h>

namespace qb::connection {
namespace {

using namespace Qt::StringLiterals;

TEST(CharsetDecode, FindsTheCharsetParameter) {
    const struct {
        QByteArray contentType;
        QByteArray charset;
    } cases[] = {
        {"application/json; charset=UTF-8", "UTF-8"},
        {"text/html;Charset=\"windows-1251\"", "windows-1251"},
        {"text/plain; format=flowed; charset = koi8-r ", "koi8-r"},
        {"audio/x-mpegurl", ""},
        {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(charsetOf(c.contentType), c.charset) << c.contentType.toStdString();
    }
}

TEST(CharsetDecode, DecodesByTheNamedCharsetWithUtf8AsDefault) {
    const QByteArray utf8 = u"Фильм №1"_s.toUtf8();
    EXPECT_EQ(decodeCharset(utf8, {}), u"Фильм №1"_s);
    EXPECT_EQ(decodeCharset(utf8, "utf-8"), u"Фильм №1"_s);
    EXPECT_EQ(decodeCharset(utf8, "no-such-charset"), u"Фильм №1"_s);
    EXPECT_EQ(decodeCharset("\xd4\xe8\xeb\xfc\xec \xb9\x31", "windows-1251"), u"Фильм №1"_s);
    EXPECT_EQ(decodeCharset("caf\xe9", "ISO-8859-1"), u"café"_s);
}

} // namespace
} // namespace qb::connection
