// The client's own release page: poster and headline on the right of it, the details, cast and
// screenshots below, a script that keeps the page from being selected or saved, and the magnet in
// a hidden element.
#include "releaseinfo/page/page_layout.h"

#include "releaseinfo/page/page_text_ops.h"

using namespace Qt::Literals::StringLiterals;

namespace qb::releaseinfo {

namespace {

constexpr QStringView kStyleHead =
    u"<html><head><style>a{text-decoration:none;}a:hover{text-decoration:underline;}body{"
    u"background-color:#f0f0f0;margin:0;}table{table-layout:fixed;margin:-10px 0 0 -5px;"
    u"color:#555;font-size:9pt;cursor:default;font-family:Arial;color:#555;}</style>";

// Turns off the page's context menu, clears any selection made with the mouse, and swallows
// Ctrl+U, Ctrl+A and Ctrl+S outside input fields.
constexpr QStringView kScript =
    u"<script>document.oncontextmenu = cmenu;function cmenu(){return false;}</script><script>"
    u"function preventSelection(element){var preventSelection=false;"
    u"function addHandler(element,event,handler){"
    u"if (element.attachEvent)element.attachEvent(\"on\"+event,handler);"
    u"else if (element.addEventListener) element.addEventListener(event,handler,false);}"
    u"function removeSelection(){if(window.getSelection){"
    u"window.getSelection().removeAllRanges();}"
    u"else if (document.selection && document.selection.clear)document.selection.clear();}"
    u"addHandler(element,\"mousemove\",function(){if(preventSelection) removeSelection();});"
    u"addHandler(element,\"mousedown\",function(event){var event=event||window.event;"
    u"var sender=event.target||event.srcElement;"
    u"preventSelection=!sender.tagName.match(/INPUT|TEXTAREA/i);});function killCtrlA(event){"
    u"var event=event||window.event;var sender=event.target||event.srcElement;"
    u"if(sender.tagName.match(/INPUT|TEXTAREA/i))return;var key=event.keyCode||event.which;"
    u"if((event.ctrlKey&&key==\"U\".charCodeAt(0))||(event.ctrlKey&&key==\"A\".charCodeAt(0))||("
    u"event.ctrlKey&&key==\"S\".charCodeAt(0))){"
    u"removeSelection();if(event.preventDefault)event.preventDefault();"
    u"else event.returnValue=false;}}addHandler(element,\"keydown\",killCtrlA);"
    u"addHandler(element,\"keyup\",killCtrlA);}preventSelection(document);</script>";

} // namespace

QString escapedMagnet(QStringView magnet) {
    QString text;
    text.reserve(magnet.size());
    for (const QChar c : magnet) {
        switch (c.unicode()) {
        case u'<':
            text += u"&lt;"_s;
            break;
        case u'>':
            text += u"&gt;"_s;
            break;
        case u'"':
            text += u"&quot;"_s;
            break;
        default:
            text += c;
        }
    }
    return text;
}

QString pageHtml(const PageFields& f, const PagePictures& p) {
    const QString magnet = escapedMagnet(p.magnet);
    const QStringView pieces[] = {
        kStyleHead,
        kScript,
        u"</head><body><table cellspacing=10><tr><td width=184>",
        p.posterHtml,
        u"</td><td valign=top><b>",
        f.title,
        u"</b><br>",
        f.year,
        f.country,
        u"<br>",
        f.seeders,
        f.leechers,
        u"<br>",
        f.size,
        u"<br><br><center>",
        p.imdbHtml,
        u"<br>",
        p.filmDbHtml,
        u"</center></td></tr><tr><td colspan=2>",
        f.genre,
        f.director,
        f.actors,
        f.duration,
        f.translation,
        trimBlanksAtEnd(f.subtitles),
        u"<br>",
        f.description,
        u"<br>",
        f.video,
        f.audio,
        u"<br>",
        f.added,
        u"<br><br>",
        p.screenshotsHtml,
        u"</td></tr></table><div id=magnet style=\"display:none;\">",
        magnet,
        u"</div></body></html>",
    };
    QString page;
    qsizetype size = 0;
    for (const QStringView piece : pieces) {
        size += piece.size();
    }
    page.reserve(size);
    for (const QStringView piece : pieces) {
        page += piece;
    }
    // One pass: four breaks in a row become three.
    return replaceIgnoringCase(page, u"<br><br><br>", u"<br><br>");
}

QString errorPageHtml(const QString& defaultServiceUrl) {
    return u"<html><body bgcolor=#f0f0f0><div style=\"height:100%;overflow:hidden;\"><center><img src=\""_s +
           defaultServiceUrl +
           u"/error_404.png\" style=\"width:95%;\"><center></div></body></html>"_s;
}

} // namespace qb::releaseinfo
