// The whole page: its pieces in their order, the breaks cut in one pass, the hidden magnet.
#include "page_test_print.h"

#include "releaseinfo/page/page_layout.h"
#include "releaseinfo/page/release_page.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

using qb::releaseinfo::buildReleasePage;
using qb::releaseinfo::ReleasePage;
using qb::releaseinfo::test::testHosts;

TEST(Page, JoinsItsPiecesInOrder) {
    const ReleasePage page =
        buildReleasePage(u"<a href=\"magnet:?xt=1\">m</a><tr><img src=\"p.jpg\">\n"
                         u"<b>Название:</b> Фильм<br>\n<b>Год выхода:</b> 2020<br>\n"_s,
                         testHosts());
    EXPECT_EQ(page.magnet, u"magnet:?xt=1"_s);
    EXPECT_EQ(page.posterUrl, u"p.jpg"_s);
    EXPECT_TRUE(page.html.startsWith(u"<html><head><style>"_s));
    EXPECT_EQ(page.html.count(u"<script>"_s), 2);
    const qsizetype body = page.html.indexOf(u"</head><body>"_s);
    ASSERT_GT(body, 0);
    // Five breaks after the year, and six in the lower cell, come out as four: the final
    // replacement makes one pass.
    EXPECT_EQ(page.html.sliced(body),
              u"</head><body><table cellspacing=10><tr><td width=184>"
              u"<img src=\"p.jpg\" style=\"width:179px;\" "
              u"onerror=\"this.src='http://svc.example:8091/no-poster.jpg'\">"
              u"</td><td valign=top><b> Фильм</b><br><br><b>Год выхода:</b> 2020"
              u"<br><br><br><br><center><br></center></td></tr><tr><td colspan=2>"
              u"<br><br><br><br></td></tr></table>"
              u"<div id=magnet style=\"display:none;\">magnet:?xt=1</div></body></html>"_s);
}

TEST(Page, FourBreaksInARowBecomeThree) {
    qb::releaseinfo::PageFields fields;
    fields.duration = u"d<br><BR><br><br>e"_s;
    const QString html = qb::releaseinfo::pageHtml(fields, {});
    EXPECT_TRUE(html.contains(u"d<br><br>"_s + u"<br>e"_s)) << html.toStdString();
    EXPECT_FALSE(html.contains(u"<br><br><br><br>e"_s));
}

TEST(Page, HiddenMagnetCannotOpenMarkup) {
    const ReleasePage page =
        buildReleasePage(u"<a href=\"magnet:?a\"b<i>c&amp;d\"><tr>"_s, testHosts());
    EXPECT_EQ(page.magnet, u"magnet:?a\"b<i>c&amp;d"_s);
    EXPECT_TRUE(page.html.endsWith(u"<div id=magnet style=\"display:none;\">"
                                   u"magnet:?a&quot;b&lt;i&gt;c&amp;d</div></body></html>"_s))
        << page.html.toStdString();
}

TEST(Page, AnswerWithoutMarkersGivesTheEmptyLayout) {
    const ReleasePage page =
        buildReleasePage(u"<html><body>Не найдено</body></html>"_s, testHosts());
    EXPECT_EQ(page.magnet, u""_s);
    EXPECT_EQ(page.posterUrl, u""_s);
    EXPECT_TRUE(page.html.contains(u"<img src=\"\" style=\"width:179px;\""_s));
    EXPECT_TRUE(page.html.contains(u"<b></b>"_s));
}

TEST(ErrorPage, TakesItsPictureFromTheDefaultService) {
    EXPECT_EQ(qb::releaseinfo::errorPageHtml(u"http://127.0.0.1:8091"_s),
              u"<html><body bgcolor=#f0f0f0><div style=\"height:100%;overflow:hidden;\"><center>"
              u"<img src=\"http://127.0.0.1:8091/error_404.png\" style=\"width:95%;\"><center>"
              u"</div></body></html>"_s);
}

} // namespace
