#include "lists/text/link_lines.h"

#include "lists_test_print.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace qb::lists {
namespace {

TEST(LinkLines, NameLinesAreThoseWithColonsAndABlankAnywhere) {
    EXPECT_TRUE(isNameLine(u":: Name"_s));
    EXPECT_TRUE(isNameLine(u"magnet:?xt=urn:btih:AA&dn=a:: b"_s));
    EXPECT_FALSE(isNameLine(u"::Name"_s));
    EXPECT_FALSE(isNameLine(QString()));
}

TEST(LinkLines, AddBodiesCarryTheWholeLineAndThePosterAfterTheFirstAs) {
    const struct {
        QString line;
        QString poster;
        QByteArray body;
    } cases[] = {
        {u"magnet:?xt=urn:btih:AA&dn=x"_s, QString(), R"({"link":"magnet:?xt=urn:btih:AA&dn=x"})"},
        {u"magnet:?xt=urn:btih:AA&as=http://p/1.jpg"_s, u"http://p/1.jpg"_s,
         R"({"link":"magnet:?xt=urn:btih:AA&as=http://p/1.jpg","Info":"{\"poster_path\":\"http://p/1.jpg\"}"})"},
        {u"m&as=a&as=b"_s, u"a&as=b"_s,
         R"({"link":"m&as=a&as=b","Info":"{\"poster_path\":\"a&as=b\"}"})"},
        {u"m&as="_s, QString(), R"({"link":"m&as=","Info":"{\"poster_path\":\"\"}"})"},
        {QString(), QString(), R"({"link":""})"},
        {u"magnet:?dn=\"q\""_s, QString(), R"({"link":"magnet:?dn=\"q\""})"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(posterOfLine(c.line), c.poster) << c.line.toStdString();
        EXPECT_EQ(addBodyOfLine(c.line), c.body) << c.line.toStdString();
    }
}

TEST(LinkLines, OnlyMagnetsAndWebAddressesCountAsLinks) {
    EXPECT_TRUE(looksLikeLink(u"magnet:?xt=urn:btih:AA"_s));
    EXPECT_TRUE(looksLikeLink(u"  MAGNET:?xt=urn:btih:AA"_s));
    EXPECT_TRUE(looksLikeLink(u"https://host/file.torrent"_s));
    EXPECT_TRUE(looksLikeLink(u"http://host"_s));
    EXPECT_FALSE(looksLikeLink(u"magnet:?"_s));
    EXPECT_FALSE(looksLikeLink(u"ftp://host/a"_s));
    EXPECT_FALSE(looksLikeLink(u"just words"_s));
    EXPECT_FALSE(looksLikeLink(QString()));

    EXPECT_TRUE(holdsLinks({u":: a"_s, QString(), u"magnet:?xt=urn:btih:AA"_s}));
    EXPECT_FALSE(holdsLinks({u":: magnet:?xt=urn:btih:AA"_s, QString(), u"words"_s}));
    EXPECT_FALSE(holdsLinks({}));
}

TEST(LinkLines, ProgressMaximumIsHalfTheLinesButCoversEveryLink) {
    const QString name = u":: n"_s;
    const QString link = u"magnet:?xt=urn:btih:AA"_s;
    EXPECT_EQ(importProgressMaximum({name, link, name, link, name, link}), 3);
    EXPECT_EQ(importProgressMaximum({name, link, name, link, name}), 2);
    EXPECT_EQ(importProgressMaximum({name, link, QString(), name, link}), 3);
    EXPECT_EQ(importProgressMaximum({link, link, link}), 3);
    EXPECT_EQ(importProgressMaximum({}), 0);
}

TEST(LinkLines, ErrorEntriesNameTheLineBefore) {
    const QStringList lines = {u":: "_s + QString(60, u'я'), u"bad"_s, u":: short"_s, QString()};
    EXPECT_EQ(errorEntry(lines, 1, ErrorEntryForm::Long),
              u":: "_s + QString(47, u'я') + u" ...\r\n"_s);
    EXPECT_EQ(errorEntry(lines, 1, ErrorEntryForm::Short), lines[0] + u"\r\n"_s);
    EXPECT_EQ(errorEntry(lines, 3, ErrorEntryForm::Short), u":: short\r\n"_s);
    EXPECT_EQ(errorEntry(lines, 3, ErrorEntryForm::Long), u":: short ...\r\n"_s);
    // The first line has none before it and is named by itself.
    EXPECT_EQ(errorEntry({u"bad first"_s}, 0, ErrorEntryForm::Short), u"bad first\r\n"_s);
}

} // namespace
} // namespace qb::lists
