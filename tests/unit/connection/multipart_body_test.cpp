#include "connection/http/multipart_body.h"

#include <gtest/gtest.h>

namespace qb::connection {
namespace {

using namespace Qt::StringLiterals;

TEST(MultipartBody, OneFilePartWithTheBytesUntouched) {
    const QByteArray content("d8:info\0\r\nx", 11);
    EXPECT_EQ(multipartBody("B0", u"filename"_s, u"movie.torrent"_s, content),
              QByteArray("--B0\r\n"
                         "Content-Disposition: form-data; name=\"filename\"; "
                         "filename=\"movie.torrent\"\r\n"
                         "Content-Type: application/octet-stream\r\n\r\n") +
                  content + "\r\n--B0--\r\n");
    EXPECT_EQ(multipartContentType("B0"), "multipart/form-data; boundary=B0");
}

TEST(MultipartBody, NamesCannotEndTheirQuotedValueOrLine) {
    const QByteArray body =
        multipartBody("B", u"f\"x"_s, u"a\"b\r\nContent-Type: evil.torrent"_s, "c");
    EXPECT_TRUE(body.contains("name=\"f%22x\"; filename=\"a%22b%0D%0AContent-Type: evil.torrent\""))
        << body.toStdString();
    EXPECT_EQ(body.count("\r\n"), 6);
}

TEST(MultipartBody, FileNamesKeepTheirLetters) {
    EXPECT_TRUE(multipartBody("B", u"filename"_s, u"Фильм.torrent"_s, {})
                    .contains(QString(u"filename=\"Фильм.torrent\""_s).toUtf8()));
}

TEST(MultipartBody, BoundaryMustNotOccurInTheContent) {
    EXPECT_TRUE(multipartBoundaryFits("abc", "xx-abc"));
    EXPECT_FALSE(multipartBoundaryFits("abc", "xx--abcyy"));
    EXPECT_FALSE(multipartBoundaryFits({}, "x"));
}

} // namespace
} // namespace qb::connection
