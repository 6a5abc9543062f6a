// The magnet and the pictures are found by cutting a copy of the answer down step by step: the
// uploader's cell ends the part that matters, the first quote opens the magnet link, and the
// first image after the next table row is the poster.
#include "releaseinfo/page/page_pictures.h"

using namespace Qt::Literals::StringLiterals;

namespace qb::releaseinfo {

namespace {

// The text from `start` up to the first "</a>" at or after it, nothing when none follows.
QStringView upToLinkEnd(QStringView page, qsizetype start) {
    const qsizetype end = page.indexOf(u"</a>"_s, start);
    return end < 0 ? QStringView() : page.sliced(start, end - start);
}

QString screenshotTag(QStringView address) {
    return u"<img onerror=\"this.style.display='none'\" src=\""_s + address +
           u"\" style=\"width:360px; margin-bottom:5px;\"><br>"_s;
}

// Each "img src=\"" of the screenshots' text area gives one picture, its address running to the
// next quote. A bare "img src" without its "=\"" steps on by eight characters and still gives a
// picture each step.
QString screenshotsHtml(QStringView page) {
    const qsizetype header = page.indexOf(u"Скриншоты"_s);
    if (header < 0) {
        return {};
    }
    QStringView area = page.sliced(header + 1);
    const qsizetype areaEnd = area.indexOf(u"</textarea></div>"_s);
    area = areaEnd < 0 ? QStringView() : area.first(areaEnd + 1);

    QString html = u"<center>"_s;
    const QStringView quotedSource = u"img src=\"";
    qsizetype at = 0;
    // Once no quoted source is left none will be; from then on the positions of the last bare
    // source and of the next quote are kept instead of being searched for again at every step.
    bool quotedLeft = true;
    qsizetype lastBare = -1;
    qsizetype nextQuote = -1;
    while (true) {
        if (quotedLeft) {
            const qsizetype source = area.indexOf(quotedSource, at);
            if (source >= 0) {
                at = source + quotedSource.size();
            } else {
                quotedLeft = false;
                lastBare = area.lastIndexOf(u"img src"_s);
            }
        }
        if (!quotedLeft) {
            if (lastBare < at) {
                break;
            }
            at = qMin(at + 8, area.size());
        }
        if (nextQuote < at) {
            nextQuote = area.indexOf(u'"', at);
            if (nextQuote < 0) {
                nextQuote = area.size(); // none: every later address is empty too
            }
        }
        const QStringView address =
            nextQuote == area.size() ? QStringView() : area.sliced(at, nextQuote - at);
        const QString tag = screenshotTag(address);
        if (html.size() + tag.size() > kMaxScreenshotsHtml) {
            break;
        }
        html += tag;
    }
    return html + u"</center>"_s;
}

} // namespace

PagePictures pagePictures(QStringView answer, const PageHosts& hosts) {
    PagePictures pictures;
    QStringView page = answer;
    if (const qsizetype uploader = page.indexOf(u"</u></span></td><td>"_s); uploader >= 0) {
        page = page.first(uploader);
    }
    if (const qsizetype quote = page.indexOf(u'"'); quote >= 0) {
        page = page.sliced(quote + 1);
    }
    if (const qsizetype end = page.indexOf(u"\">"_s); end >= 0) {
        pictures.magnet = page.first(end).toString();
    }
    if (const qsizetype row = page.indexOf(u"<tr>"_s); row >= 0) {
        page = page.sliced(row + 1);
    }
    if (const qsizetype image = page.indexOf(u"<img"_s); image > 0) {
        page = page.sliced(image);
    }
    if (page.startsWith(u"<img"_s)) {
        const qsizetype value = page.indexOf(u"=\""_s);
        page = page.sliced(value < 0 ? 1 : value + 2);
        if (const qsizetype end = page.indexOf(u'"'); end >= 0) {
            pictures.posterUrl = page.first(end).toString();
        }
    }
    pictures.posterHtml = u"<img src=\""_s + pictures.posterUrl +
                          u"\" style=\"width:179px;\" onerror=\"this.src='"_s +
                          hosts.serviceBaseUrl + u"/no-poster.jpg'\">"_s;

    if (const qsizetype imdb = page.indexOf(u"imdb/pic"_s); imdb >= 0) {
        pictures.imdbHtml =
            u"<img style=\"border: 1px solid #9c9a9c;margin-bottom:5px;\" src=\"http://"_s +
            hosts.trackerImageHost + u"/"_s + upToLinkEnd(page, imdb);
    }
    const QString filmDbMarker = u"<img src=\"http://"_s + hosts.filmDbHost + u"/rating/"_s;
    if (const qsizetype filmDb = page.indexOf(filmDbMarker); filmDb >= 0) {
        pictures.filmDbHtml = upToLinkEnd(page, filmDb).toString();
    }
    pictures.screenshotsHtml = screenshotsHtml(page);
    return pictures;
}

} // namespace qb::releaseinfo
