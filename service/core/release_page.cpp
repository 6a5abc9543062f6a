#include "release_page.h"

#include "magnet.h"
#include "plain_text.h"
#include "shelves.h"
#include "size_text.h"

#include <cstdio>
#include <ctime>

namespace qb::service {

namespace {

std::string addedText(std::int64_t seconds) {
    const auto time = static_cast<std::time_t>(seconds);
    std::tm parts{};
    if (seconds <= 0 || gmtime_r(&time, &parts) == nullptr) {
        return {};
    }
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", parts.tm_year + 1900,
                  parts.tm_mon + 1, parts.tm_mday, parts.tm_hour, parts.tm_min, parts.tm_sec);
    return text;
}

void field(std::string& page, std::string_view name, const std::string& value,
           std::string_view separator = " ") {
    if (!value.empty()) {
        page += "<b>";
        page += name;
        page += ":</b>";
        page += separator;
        page += escapeHtml(value);
        page += "<br>\n";
    }
}

void headerRow(std::string& page, std::string_view name, const std::string& value) {
    if (!value.empty()) {
        page += "<tr><td class=\"header\">";
        page += name;
        page += "</td><td>";
        page += escapeHtml(value);
        page += "</td></tr>\n";
    }
}

std::string countText(int count) {
    return count < 0 ? std::string() : std::to_string(count);
}

} // namespace

std::string releasePage(const PageContext& context, std::uint32_t id, const Release& release) {
    const std::string title = escapeHtmlQuoted(release.title);
    const std::string files = countText(release.files);
    const std::string poster =
        release.poster.empty() ? context.baseUrl + "/no-poster.jpg" : release.poster;
    std::string magnet =
        rowMagnet(release.hash, context.trackerDomain + "_" + std::to_string(id), release.trackers);
    std::string escapedMagnet;
    for (const char c : magnet) {
        escapedMagnet += c == '&' ? std::string("&amp;") : std::string(1, c);
    }

    std::string page = "<!DOCTYPE html>\n<html lang=ru>\n<head>\n<meta charset=utf-8>\n";
    // The series check reads the file count after the page's first "displayfiles": here it
    // comes before any text of the source's.
    page += "<meta name=displayfiles content=(" + files + ")>\n";
    page += "<title>" + title + " :: " + escapeHtmlQuoted(context.trackerDomain) + "</title>\n";
    page += "</head>\n<body>\n<div id=index>\n<h1>" + title + "</h1>\n";
    page += "<table id=details cellspacing=0 cellpadding=2>\n";
    page += "<tr><td class=header>Магнет:</td><td><a href=\"" + escapedMagnet +
            "\"><img src=\"/s/t/magnet.png\" alt=\"magnet\"></a></td></tr>\n";
    page += "<tr><td class=\"header\">Описание:</td><td>\n";
    page += "<img src=\"" + poster + "\" align=\"right\" alt=\"poster\" width=\"179\">\n";
    // The client takes the title from just after "</b>", blank and all.
    field(page, "Название", release.title, "");
    field(page, "Год выхода", release.year > 0 ? std::to_string(release.year) : std::string());
    field(page, "Жанр", release.genre);
    page += "<br>\n";
    field(page, "Описание", release.description);
    page += "</td></tr>\n";
    const auto shelf = shelfOf(release);
    headerRow(page, "Категория", shelf ? std::string(captionOf(*shelf)) : std::string());
    headerRow(page, "Раздают", countText(release.seeders));
    headerRow(page, "Качают", countText(release.leechers));
    headerRow(page, "Размер", pageSizeText(release.sizeBytes));
    headerRow(page, "Добавлен", addedText(release.published));
    page += "<tr><td class=\"header\">Файлы</td><td><a href=\"#files\" id=\"displayfiles\">"
            "Список файлов (" +
            files + ")</a></td></tr>\n";
    page += "</table>\n</div>\n</body>\n</html>\n";
    return page;
}

} // namespace qb::service
