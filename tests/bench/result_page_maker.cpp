#include "result_page_maker.h"

namespace qb::bench {
namespace {
// One result row in the tracker's markup, varied as a real page is: comments cells, excluded
// releases, every resolution.
QString resultRow(int id) {
    static const char* const kRips[] = {"BDRip 1080p",   "WEB-DL 2160p | HDR", "HDTV 1080i",
                                        "DVDRip",        "WEB-DL 720p",        "PDF",
                                        "BDRemux 1080p", "WEBRip 1080p"};
    const QString nbsp(QChar(0x00A0));
    const QString n = QString::number(id);
    const QString comments =
        id % 3 == 0
            ? QStringLiteral("<td align=\"right\">%1<img src=\"/s/t/ic.gif\" alt=\"C\"></td>")
                  .arg(id % 40)
            : QString();
    return QStringLiteral("<tr class=\"gai\"><td>12") + nbsp + QStringLiteral("Дек") + nbsp +
           QStringLiteral("24</td><td colspan=\"2\"><a class=\"downgif\" href=\"/download/") + n +
           QStringLiteral("\"><img src=\"/s/t/d.gif\" alt=\"D\"></a><a href=\"magnet:?xt=urn:btih:"
                          "6E38DD076E2E61C511669A7B3628C2DE7111A9") +
           n.right(2) +
           QStringLiteral("&amp;dn=tracker.example&amp;tr=http%3A%2F%2Fbt.tracker.example%2Fann%3"
                          "Fmagnet\"><img src=\"/s/t/m.png\" alt=\"M\"></a><a href=\"/torrent/") +
           n + QStringLiteral("/release-") + n +
           QStringLiteral("\">Северное сияние / Northern Lights (2019) ") +
           QString::fromUtf8(kRips[id % 8]) + QStringLiteral(" | Лицензия </a></td>") + comments +
           QStringLiteral("<td align=\"right\">10.23") + nbsp +
           QStringLiteral("GB</td><td align=\"center\"><span class=\"green\"><img "
                          "src=\"/s/t/arrowup.gif\" alt=\"S\">") +
           nbsp + QString::number(id % 300) + QStringLiteral("</span>") + nbsp +
           QStringLiteral("<span class=\"red\">") + nbsp + QString::number(id % 17) +
           QStringLiteral("</span></td></tr>\n");
}

} // namespace

QString makeResultPage(int page, int rows) {
    QString text = QStringLiteral(
        "<!DOCTYPE html>\n<html lang=\"ru\">\n<head>\n<meta charset=\"utf-8\">\n<title>Поиск :: "
        "tracker.example</title>\n<link rel=\"stylesheet\" href=\"/s/t/t.css\">\n</head>\n<body>\n"
        "<div id=\"logo\"><a href=\"/\"><img src=\"/s/t/logo.png\" alt=\"tracker.example\"></a>"
        "</div>\n<div id=\"menu\"><a href=\"/\">Главная</a> | <a href=\"/top\">Топ</a></div>\n"
        "<table width=\"100%\" class=\"t\">\n<tr class=\"backgr\"><td>Добавлен</td><td "
        "colspan=\"2\">Название</td><td>Размер</td><td align=\"center\">Пиры</td></tr>\n");
    for (int i = 0; i < rows; ++i) {
        text += resultRow(page * rows + i + 100000);
    }
    return text + QStringLiteral("</table>\n<div id=\"footer\">tracker.example</div>\n</body>\n"
                                 "</html>\n");
}

} // namespace qb::bench
