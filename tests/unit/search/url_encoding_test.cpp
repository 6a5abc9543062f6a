#include "search/text/url_encoding.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

struct EncodingCase {
    QString text;
    QString encoded;
};

class UrlEncoding : public ::testing::TestWithParam<EncodingCase> {};

TEST_P(UrlEncoding, EncodesAsTheServiceReadsIt) {
    EXPECT_EQ(qb::search::urlEncode(GetParam().text), GetParam().encoded);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, UrlEncoding,
    ::testing::Values(
        EncodingCase{u"Матрица 1999"_s, u"%D0%9C%D0%B0%D1%82%D1%80%D0%B8%D1%86%D0%B0+1999"_s},
        EncodingCase{u"a&b/c:d"_s, u"a%26b%2Fc%3Ad"_s},
        // The characters that pass unchanged, beside the reserved ones that do not.
        EncodingCase{u"AZaz09!$'()*-.@_"_s, u"AZaz09!$'()*-.@_"_s},
        EncodingCase{u"#%+,/;=?[]~\"<>"_s, u"%23%25%2B%2C%2F%3B%3D%3F%5B%5D%7E%22%3C%3E"_s},
        EncodingCase{u"   "_s, u"+++"_s}, EncodingCase{u"a\tb\r\n"_s, u"a%09b%0D%0A"_s},
        // A surrogate pair is one character: its four UTF-8 bytes.
        EncodingCase{u"x😀y"_s, u"x%F0%9F%98%80y"_s},
        EncodingCase{u"magnet:?xt=urn:btih:AB&amp;dn=Q"_s,
                     u"magnet%3A%3Fxt%3Durn%3Abtih%3AAB%26amp%3Bdn%3DQ"_s},
        EncodingCase{QString(), QString()}));

} // namespace
