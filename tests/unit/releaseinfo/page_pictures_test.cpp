// The top of the page: magnet, poster, rating images and screenshots, cut from the answer.
#include "page_test_print.h"

#include "releaseinfo/page/page_pictures.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

using qb::releaseinfo::kMaxScreenshotsHtml;
using qb::releaseinfo::PagePictures;
using qb::releaseinfo::pagePictures;
using qb::releaseinfo::test::testHosts;

PagePictures picturesOf(const QString& answer) {
    return pagePictures(answer, testHosts());
}

QString screenshot(const QString& address) {
    return u"<img onerror=\"this.style.display='none'\" src=\""_s + address +
           u"\" style=\"width:360px; margin-bottom:5px;\"><br>"_s;
}

const QString kImdbStart =
    u"<img style=\"border: 1px solid #9c9a9c;margin-bottom:5px;\" src=\"http://img.tracker.example/"_s;

// The tracker's page as far as the pictures go: the magnet link first, the poster after the next
// table row, the uploader's cell last.
const QString kPage =
    u"<h1>T</h1><table><tr><td><a href=\"magnet:?xt=urn:btih:AB&amp;dn=x\"><img src=\"m.png\"></a>"
    u"</td></tr>\n<tr><td>Описание:</td><td>\n<img src=\"http://svc/posters/1.jpg\" "
    u"width=\"179\">\n"
    u"<a href=\"i\"><img src=\"http://img.tracker.example/imdb/pic/1.png\" alt=\"7.4\"></a>\n"
    u"<a href=\"f\"><img src=\"http://www.filmdb.example/rating/1.png\" alt=\"7.8\"></a>\n"
    u"<div>Скриншоты</div><div><textarea><img src=\"http://svc/s1.jpg\"> "
    u"<img src=\"http://svc/s2.jpg\"></textarea></div>\n"
    u"<tr><td>Раздал</td><td><span><u>u</u></span></td><td>профиль</td></tr>"_s;

TEST(Pictures, ComeFromTheirMarkers) {
    const PagePictures p = picturesOf(kPage);
    EXPECT_EQ(p.magnet, u"magnet:?xt=urn:btih:AB&amp;dn=x"_s);
    EXPECT_EQ(p.posterUrl, u"http://svc/posters/1.jpg"_s);
    EXPECT_EQ(p.posterHtml, u"<img src=\"http://svc/posters/1.jpg\" style=\"width:179px;\" "
                            u"onerror=\"this.src='http://svc.example:8091/no-poster.jpg'\">"_s);
    EXPECT_EQ(p.imdbHtml, kImdbStart + u"imdb/pic/1.png\" alt=\"7.4\">"_s);
    EXPECT_EQ(p.filmDbHtml, u"<img src=\"http://www.filmdb.example/rating/1.png\" alt=\"7.8\">"_s);
    EXPECT_EQ(p.screenshotsHtml, u"<center>"_s + screenshot(u"http://svc/s1.jpg"_s) +
                                     screenshot(u"http://svc/s2.jpg"_s) + u"</center>"_s);
}

TEST(Pictures, NothingAfterTheUploaderCellCounts) {
    const QString answer =
        u"<td><span><u>u</u></span></td><td><a href=\"magnet:?late\"><tr><img src=\"p.jpg\">"_s;
    const PagePictures p = picturesOf(answer);
    EXPECT_EQ(p.magnet, u""_s);
    EXPECT_EQ(p.posterUrl, u""_s);
    // The placeholder stands in for a missing poster.
    EXPECT_EQ(p.posterHtml, u"<img src=\"\" style=\"width:179px;\" "
                            u"onerror=\"this.src='http://svc.example:8091/no-poster.jpg'\">"_s);
}

struct PictureCase {
    const char* name;
    const char16_t* answer;
    QString PagePictures::*piece;
    QString expected;
};

class Picture : public ::testing::TestWithParam<PictureCase> {};

TEST_P(Picture, FollowsItsMarkers) {
    const PictureCase& c = GetParam();
    EXPECT_EQ(picturesOf(QString::fromUtf16(c.answer)).*c.piece, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Picture,
    ::testing::Values(
        PictureCase{"ImdbWithoutFilmDb",
                    u"\"m\"><tr><img src=\"p\"><img src=\"http://x/imdb/pic/2.png\"></a>",
                    &PagePictures::imdbHtml, kImdbStart + u"imdb/pic/2.png\">"_s},
        PictureCase{"ImdbWithoutFilmDbLeavesFilmDbEmpty",
                    u"\"m\"><tr><img src=\"p\"><img src=\"http://x/imdb/pic/2.png\"></a>",
                    &PagePictures::filmDbHtml, u""_s},
        PictureCase{
            "FilmDbWithoutImdb",
            u"\"m\"><tr><img src=\"p\"><img src=\"http://www.filmdb.example/rating/3.png\"></a>",
            &PagePictures::filmDbHtml, u"<img src=\"http://www.filmdb.example/rating/3.png\">"_s},
        PictureCase{
            "FilmDbWithoutImdbLeavesImdbEmpty",
            u"\"m\"><tr><img src=\"p\"><img src=\"http://www.filmdb.example/rating/3.png\"></a>",
            &PagePictures::imdbHtml, u""_s},
        // Without a link end after it nothing of the rating is copied.
        PictureCase{"ImdbWithoutLinkEnd", u"\"m\"><tr>imdb/pic/2.png", &PagePictures::imdbHtml,
                    kImdbStart},
        PictureCase{"NoMagnetEnd", u"<a href=\"magnet:?xt=1", &PagePictures::magnet, u""_s},
        // The poster's "=\"" is missing: only the "<" goes, and no quote follows.
        PictureCase{"PosterWithoutValue", u"\"m\"><tr><img src=x", &PagePictures::posterUrl, u""_s},
        PictureCase{"NoScreenshots", u"\"m\"><tr><textarea><img src=\"a\"></textarea></div>",
                    &PagePictures::screenshotsHtml, u""_s},
        PictureCase{"ScreenshotsWithoutTheirEnd",
                    u"\"m\"><tr><img src=\"p\">Скриншоты<img src=\"a\">",
                    &PagePictures::screenshotsHtml, u"<center></center>"_s},
        // A bare "img src" steps on by eight characters, each step a picture up to the next quote.
        PictureCase{"BareSourceStepsOnByEight",
                    u"\"m\"><tr>Скриншоты<textarea>img src='x' \"q</textarea></div>",
                    &PagePictures::screenshotsHtml,
                    u"<center>"_s + screenshot(u"<textarea>img src='x' "_s) +
                        screenshot(u"a>img src='x' "_s) + screenshot(u"c='x' "_s) + u"</center>"_s},
        PictureCase{"ScreenshotWithoutClosingQuote",
                    u"\"m\"><tr><img src=\"p\">Скриншоты<img src=\"a.jpg</textarea></div>",
                    &PagePictures::screenshotsHtml,
                    u"<center>"_s + screenshot(u""_s) + u"</center>"_s}),
    [](const auto& info) { return std::string(info.param.name); });

// A text area that would repeat its whole text into a picture at every eighth character: the
// piece stops at its limit, whole pictures only.
TEST(Pictures, ScreenshotsOfAHugeBareSourceStayBounded) {
    const QString answer =
        u"\"m\"><tr>Скриншоты img src"_s + QString(400000, u'x') + u"img src\"</textarea></div>"_s;
    const QString html = picturesOf(answer).screenshotsHtml;
    EXPECT_LE(html.size(), kMaxScreenshotsHtml + 9);
    EXPECT_TRUE(html.endsWith(u"><br></center>"_s));
    EXPECT_GE(html.count(u"<img "_s), 2);
}

} // namespace
