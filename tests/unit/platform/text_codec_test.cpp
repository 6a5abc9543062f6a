#include "platform/text/text_codec.h"

#include <gtest/gtest.h>

#include <iconv.h>

#include <string>

namespace {

using qb::platform::decodeText;
using qb::platform::decodeWindows1251;
using qb::platform::encodeLegacy;
using qb::platform::encodeUtf8WithBom;
using qb::platform::isValidUtf8;

QByteArray bytes(const std::string& s) {
    return QByteArray(s.data(), static_cast<qsizetype>(s.size()));
}

const QString kPrivet = QStringLiteral("Привет, мир");

struct DecodeCase {
    const char* name;
    QByteArray input;
    QString expected;
};

class DecodeText : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(DecodeText, ReadsTheEncodingTheBytesCarry) {
    EXPECT_EQ(decodeText(GetParam().input), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, DecodeText,
    ::testing::Values(
        DecodeCase{"empty", QByteArray(), QString()},
        DecodeCase{"ascii", QByteArrayLiteral("magnet:?xt=1\r\n"),
                   QStringLiteral("magnet:?xt=1\r\n")},
        DecodeCase{"utf8_without_bom", kPrivet.toUtf8(), kPrivet},
        DecodeCase{"utf8_bom", QByteArrayLiteral("\xEF\xBB\xBF") + kPrivet.toUtf8(), kPrivet},
        DecodeCase{"utf8_bom_only", QByteArrayLiteral("\xEF\xBB\xBF"), QString()},
        // Only the first mark is a mark; a U+FEFF after it is the text's first character.
        DecodeCase{"utf8_bom_then_feff", QByteArrayLiteral("\xEF\xBB\xBF\xEF\xBB\xBFx"),
                   QStringLiteral("\uFEFFx")},
        DecodeCase{"utf16_be_bom_then_feff", QByteArrayLiteral("\xFE\xFF\xFE\xFF"),
                   QStringLiteral("\uFEFF")},
        DecodeCase{"utf16_le_bom_then_feff", QByteArrayLiteral("\xFF\xFE\xFF\xFE"),
                   QStringLiteral("\uFEFF")},
        // "Привет" in UTF-16 with its mark, both byte orders.
        DecodeCase{
            "utf16_le",
            bytes(std::string("\xFF\xFE\x1F\x04\x40\x04\x38\x04\x32\x04\x35\x04\x42\x04", 14)),
            QStringLiteral("Привет")},
        DecodeCase{
            "utf16_be",
            bytes(std::string("\xFE\xFF\x04\x1F\x04\x40\x04\x38\x04\x32\x04\x35\x04\x42", 14)),
            QStringLiteral("Привет")},
        DecodeCase{"utf16_le_ascii_with_nul_bytes", bytes(std::string("\xFF\xFEO\0K\0", 6)),
                   QStringLiteral("OK")},
        DecodeCase{"utf16_odd_trailing_byte", bytes(std::string("\xFF\xFEO\0K", 5)),
                   QStringLiteral("O\uFFFD")},
        // A lone surrogate cannot be written back; it is marked instead of kept.
        DecodeCase{"utf16_lone_surrogate", bytes(std::string("\xFF\xFE\x00\xD8O\0", 6)),
                   QStringLiteral("\uFFFDO")},
        DecodeCase{"utf16_pair_then_lone_low",
                   bytes(std::string("\xFF\xFE\x3D\xD8\x00\xDE\x00\xDE", 8)),
                   QStringLiteral("\U0001F600\uFFFD")},
        // Windows-1251 Russian text (no mark, not valid UTF-8).
        DecodeCase{"cp1251_russian", QByteArrayLiteral("\xCF\xF0\xE8\xE2\xE5\xF2, \xEC\xE8\xF0"),
                   kPrivet},
        DecodeCase{"cp1251_yo_and_quotes",
                   QByteArrayLiteral("\xA8\xEB\xEA\xE0 \xAB\xB8\xBB \xB9"
                                     "5 \x97 \x88"),
                   QStringLiteral("Ёлка «ё» №5 — €")},
        // Invalid UTF-8 forms fall back to the code page as a whole.
        DecodeCase{"overlong_slash", QByteArrayLiteral("a\xC0\xAF"), QStringLiteral("aАЇ")},
        DecodeCase{"utf8_cut_short", QByteArrayLiteral("\xD0\x9F\xD0"), QStringLiteral("РџР")},
        DecodeCase{"cp1251_hole_0x98", QByteArrayLiteral("\x98"), QStringLiteral("\uFFFD")}),
    [](const auto& info) { return std::string(info.param.name); });

struct Utf8Case {
    const char* name;
    QByteArray input;
    bool valid;
};

class Utf8Validity : public ::testing::TestWithParam<Utf8Case> {};

TEST_P(Utf8Validity, AcceptsOnlyWellFormedSequences) {
    EXPECT_EQ(isValidUtf8(GetParam().input), GetParam().valid);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Utf8Validity,
    ::testing::Values(Utf8Case{"two_bytes", QByteArrayLiteral("\xD0\x9F"), true},
                      Utf8Case{"three_bytes", QByteArrayLiteral("\xE2\x82\xAC"), true},
                      Utf8Case{"four_bytes", QByteArrayLiteral("\xF0\x9F\x98\x80"), true},
                      Utf8Case{"largest", QByteArrayLiteral("\xF4\x8F\xBF\xBF"), true},
                      Utf8Case{"nul_inside", bytes(std::string("a\0b", 3)), true},
                      Utf8Case{"overlong_two", QByteArrayLiteral("\xC1\xBF"), false},
                      Utf8Case{"overlong_three", QByteArrayLiteral("\xE0\x9F\xBF"), false},
                      Utf8Case{"overlong_four", QByteArrayLiteral("\xF0\x8F\xBF\xBF"), false},
                      Utf8Case{"surrogate", QByteArrayLiteral("\xED\xA0\x80"), false},
                      Utf8Case{"past_unicode", QByteArrayLiteral("\xF4\x90\x80\x80"), false},
                      Utf8Case{"lone_continuation", QByteArrayLiteral("\x80"), false},
                      Utf8Case{"bad_continuation", QByteArrayLiteral("\xE2\x28\xA1"), false},
                      Utf8Case{"truncated", QByteArrayLiteral("\xF0\x9F\x98"), false},
                      Utf8Case{"f5_lead", QByteArrayLiteral("\xF5\x80\x80\x80"), false}),
    [](const auto& info) { return std::string(info.param.name); });

// The table must agree with the system's own converter on every defined byte.
TEST(Windows1251, AgreesWithTheSystemConverterOnEveryByte) {
    iconv_t cd = iconv_open("UTF-16LE", "CP1251");
    ASSERT_NE(cd, reinterpret_cast<iconv_t>(-1));
    for (int byte = 0; byte < 256; ++byte) {
        if (byte == 0x98) {
            continue; // no character in the code page
        }
        char in = static_cast<char>(byte);
        char out[4] = {};
        char* inPtr = &in;
        char* outPtr = out;
        size_t inLeft = 1;
        size_t outLeft = sizeof out;
        ASSERT_NE(iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft), static_cast<size_t>(-1)) << byte;
        const char16_t expected = static_cast<char16_t>(static_cast<unsigned char>(out[0]) |
                                                        static_cast<unsigned char>(out[1]) << 8);
        const QString decoded = decodeWindows1251(QByteArray(1, in));
        ASSERT_EQ(decoded.size(), 1);
        EXPECT_EQ(decoded.front().unicode(), expected) << "byte " << byte;
    }
    iconv_close(cd);
}

TEST(Encoding, LegacyIsUtf8WithoutMarkAndReadsBack) {
    const QString text = QStringLiteral("C:/Program Files/Плеер \"x\"\r\n");
    EXPECT_EQ(encodeLegacy(text), text.toUtf8());
    EXPECT_EQ(decodeText(encodeLegacy(text)), text);
    EXPECT_EQ(encodeUtf8WithBom(text), QByteArrayLiteral("\xEF\xBB\xBF") + text.toUtf8());
    EXPECT_EQ(decodeText(encodeUtf8WithBom(text)), text);
    EXPECT_EQ(encodeUtf8WithBom(QString()), QByteArrayLiteral("\xEF\xBB\xBF"));
}

// A text that begins with U+FEFF (as UTF-16 bytes FE FF FE FF decode) survives a save and a read
// back in either way of writing, and so does text after one.
TEST(Encoding, ALeadingFeffSurvivesAWriteAndAReadBack) {
    for (const QString& text :
         {decodeText(QByteArrayLiteral("\xFE\xFF\xFE\xFF")), QStringLiteral("\uFEFF\uFEFFab"),
          QStringLiteral("\uFEFF[{\"Server\":\"x\"}]"), QStringLiteral("a\uFEFF")}) {
        EXPECT_EQ(decodeText(encodeLegacy(text)), text) << text.toStdString();
        EXPECT_EQ(decodeText(encodeUtf8WithBom(text)), text) << text.toStdString();
    }
    EXPECT_EQ(decodeText(QByteArrayLiteral("\xFE\xFF\xFE\xFF")), QStringLiteral("\uFEFF"));
    // Other texts are still written without a mark.
    EXPECT_EQ(encodeLegacy(QStringLiteral("a\uFEFF")), QStringLiteral("a\uFEFF").toUtf8());
}

} // namespace
