// Stages 1 and 3 of the release page, written plainly from the steps: the magnet and the
// pictures cut from a copy of the answer, and the page joined from its pieces. Not built into
// the client.
#include "reference_page_steps.h"
#include "reference_text.h"

using namespace Qt::Literals::StringLiterals;

namespace qb::releaseinfo::reference {

namespace {

// The text from `start` to just before the next "</a>"; nothing when none follows.
QString upToLinkEnd(const QString& text, qsizetype start) {
    const qsizetype end = text.indexOf(u"</a>", start);
    return end < 0 ? QString() : text.mid(start, end - start);
}

QString screenshots(const QString& p) {
    const qsizetype header = p.indexOf(u"Скриншоты");
    if (header < 0) {
        return {};
    }
    QString s = p.mid(header + 1);
    const qsizetype end = s.indexOf(u"</textarea></div>");
    s = end < 0 ? QString() : s.left(end + 1); // up to and with the "<" of the end
    QString html = u"<center>"_s;
    while (s.contains(u"img src")) {
        const qsizetype quoted = s.indexOf(u"img src=\"");
        s = s.mid(quoted >= 0 ? quoted + 9 : 8);
        const qsizetype quote = s.indexOf(u'"');
        const QString tag = u"<img onerror=\"this.style.display='none'\" src=\""_s +
                            (quote < 0 ? QString() : s.left(quote)) +
                            u"\" style=\"width:360px; margin-bottom:5px;\"><br>"_s;
        // A page built to repeat one picture without end stops at this size.
        if (html.size() + tag.size() > (1 << 20)) {
            break;
        }
        html += tag;
    }
    return html + u"</center>"_s;
}

// The hidden element's text: a magnet holds no markup of its own.
QString escaped(const QString& magnet) {
    QString text = magnet;
    text.replace(u"<"_s, u"&lt;"_s);
    text.replace(u">"_s, u"&gt;"_s);
    text.replace(u"\""_s, u"&quot;"_s);
    return text;
}

} // namespace

PagePictures pagePictures(QStringView answer, const PageHosts& hosts) {
    PagePictures pictures;
    QString p = answer.toString();
    if (const qsizetype cell = p.indexOf(u"</u></span></td><td>"); cell >= 0) {
        p.truncate(cell);
    }
    if (const qsizetype quote = p.indexOf(u'"'); quote >= 0) {
        p.remove(0, quote + 1);
    }
    if (const qsizetype end = p.indexOf(u"\">"); end >= 0) {
        pictures.magnet = p.left(end);
    }
    if (const qsizetype row = p.indexOf(u"<tr>"); row >= 0) {
        p.remove(0, row + 1);
    }
    if (const qsizetype image = p.indexOf(u"<img"); image > 0) {
        p.remove(0, image);
    }
    if (p.startsWith(u"<img")) {
        const qsizetype value = p.indexOf(u"=\"");
        p.remove(0, value < 0 ? 1 : value + 2);
        if (const qsizetype end = p.indexOf(u'"'); end >= 0) {
            pictures.posterUrl = p.left(end);
        }
    }
    pictures.posterHtml = u"<img src=\""_s + pictures.posterUrl +
                          u"\" style=\"width:179px;\" onerror=\"this.src='"_s +
                          hosts.serviceBaseUrl + u"/no-poster.jpg'\">"_s;
    if (const qsizetype imdb = p.indexOf(u"imdb/pic"); imdb >= 0) {
        pictures.imdbHtml = u"<img style=\"border: 1px solid #9c9a9c;margin-bottom:5px;\" "
                            u"src=\"http://"_s +
                            hosts.trackerImageHost + u"/"_s + upToLinkEnd(p, imdb);
    }
    if (const qsizetype rating =
            p.indexOf(u"<img src=\"http://"_s + hosts.filmDbHost + u"/rating/"_s);
        rating >= 0) {
        pictures.filmDbHtml = upToLinkEnd(p, rating);
    }
    pictures.screenshotsHtml = screenshots(p);
    return pictures;
}

QString releasePageHtml(QStringView answer, const PageHosts& hosts) {
    const PagePictures p = reference::pagePictures(answer, hosts);
    const PageFields f =
        reference::pageFields(captionedLines(strippedLines(answer)), hosts.filmDbHost);
    const QString page =
        u"<html><head><style>a{text-decoration:none;}a:hover{text-decoration:underline;}"
        u"body{background-color:#f0f0f0;margin:0;}table{table-layout:fixed;margin:-10px 0 0 "
        u"-5px;color:#555;font-size:9pt;cursor:default;font-family:Arial;color:#555;}</style>"_s +
        u"<script>document.oncontextmenu = cmenu;function cmenu(){return false;}</script>"
        u"<script>function preventSelection(element){var preventSelection=false;function "
        u"addHandler(element,event,handler){if (element.attachEvent)element.attachEvent(\"on\""
        u"+event,handler);else if (element.addEventListener) element.addEventListener(event,"
        u"handler,false);}function removeSelection(){if(window.getSelection){window."
        u"getSelection().removeAllRanges();}else if (document.selection && document.selection."
        u"clear)document.selection.clear();}addHandler(element,\"mousemove\",function(){if("
        u"preventSelection) removeSelection();});addHandler(element,\"mousedown\",function("
        u"event){var event=event||window.event;var sender=event.target||event.srcElement;"
        u"preventSelection=!sender.tagName.match(/INPUT|TEXTAREA/i);});function killCtrlA("
        u"event){var event=event||window.event;var sender=event.target||event.srcElement;if("
        u"sender.tagName.match(/INPUT|TEXTAREA/i))return;var key=event.keyCode||event.which;"
        u"if((event.ctrlKey&&key==\"U\".charCodeAt(0))||(event.ctrlKey&&key==\"A\"."
        u"charCodeAt(0))||(event.ctrlKey&&key==\"S\".charCodeAt(0))){removeSelection();if("
        u"event.preventDefault)event.preventDefault();else event.returnValue=false;}}"
        u"addHandler(element,\"keydown\",killCtrlA);addHandler(element,\"keyup\",killCtrlA);}"
        u"preventSelection(document);</script>"_s +
        u"</head><body><table cellspacing=10><tr><td width=184>"_s + p.posterHtml +
        u"</td><td valign=top><b>"_s + f.title + u"</b><br>"_s + f.year + f.country + u"<br>"_s +
        f.seeders + f.leechers + u"<br>"_s + f.size + u"<br><br><center>"_s + p.imdbHtml +
        u"<br>"_s + p.filmDbHtml + u"</center></td></tr><tr><td colspan=2>"_s + f.genre +
        f.director + f.actors + f.duration + f.translation + withoutBlanksAtEnd(f.subtitles) +
        u"<br>"_s + f.description + u"<br>"_s + f.video + f.audio + u"<br>"_s + f.added +
        u"<br><br>"_s + p.screenshotsHtml +
        u"</td></tr></table><div id=magnet style=\"display:none;\">"_s + escaped(p.magnet) +
        u"</div></body></html>"_s;
    return replacedCaseless(page, u"<br><br><br>", u"<br><br>");
}

} // namespace qb::releaseinfo::reference
