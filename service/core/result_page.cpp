#include "result_page.h"

#include "magnet.h"
#include "plain_text.h"
#include "size_text.h"

#include <ctime>

namespace qb::service {

namespace {

constexpr std::string_view kNoBreakSpace = "\u00A0";
constexpr std::size_t kLongestPathName = 80;

std::string count(int value) {
    return std::to_string(value < 0 ? 0 : value);
}

std::string escapedMagnet(const Release& release, std::string_view displayName) {
    const std::string magnet = rowMagnet(release.hash, displayName, release.trackers);
    std::string out;
    for (const char c : magnet) {
        out += c == '&' ? std::string("&amp;") : std::string(1, c);
    }
    return out;
}

void appendRow(std::string& page, const PageContext& context, const ListedRelease& row, bool odd) {
    const Release& r = row.release;
    const std::string id = std::to_string(row.id);
    page += odd ? "<tr class=\"tum\"><td>" : "<tr class=\"gai\"><td>";
    page += rowDate(r.published);
    page += "</td><td colspan=\"2\"><a href=\"";
    page += escapedMagnet(r, context.trackerDomain);
    page += "\"><img src=\"/s/t/m.png\" alt=\"M\"></a><a href=\"/torrent/";
    page += id;
    page += '/';
    page += pathName(r.title);
    page += "\">";
    page += escapeHtml(r.title);
    page += " </a></td><td align=\"right\">";
    page += rowSizeText(r.sizeBytes);
    page += "</td><td align=\"center\"><span class=\"green\"><img src=\"/s/t/arrowup.gif\" "
            "alt=\"S\">";
    page += kNoBreakSpace;
    page += count(r.seeders);
    page += "</span>";
    page += kNoBreakSpace;
    page += "<span class=\"red\">";
    page += kNoBreakSpace;
    page += count(r.leechers);
    page += "</span></td></tr>\n";
}

} // namespace

std::string resultPage(const PageContext& context, std::string_view heading,
                       const std::vector<ListedRelease>& rows) {
    const std::string title = escapeHtml(oneLine(heading, 200));
    std::string page;
    page.reserve(1024 + rows.size() * 700);
    page += "<!DOCTYPE html>\n<html lang=\"ru\">\n<head>\n<meta charset=\"utf-8\">\n<title>";
    page += title;
    page += " :: ";
    page += escapeHtml(context.trackerDomain);
    page += "</title>\n</head>\n<body>\n<div id=\"index\">\n<h2>";
    page += title;
    page += "</h2>\n<table width=\"100%\" cellspacing=\"0\" cellpadding=\"2\" class=\"t\">\n"
            "<tr class=\"backgr\"><td width=\"70\">Добавлен</td><td colspan=\"2\">Название</td>"
            "<td width=\"1\">Размер</td><td width=\"1\" align=\"center\">Пиры</td></tr>\n";
    bool odd = false;
    for (const ListedRelease& row : rows) {
        appendRow(page, context, row, odd);
        odd = !odd;
    }
    page += "</table>\n";
    if (rows.empty()) {
        page += "<p>Ничего не найдено.</p>\n";
    }
    page += "</div>\n</body>\n</html>\n";
    return page;
}

std::string pathName(std::string_view title) {
    std::string name;
    bool dash = false;
    for (const char c : title) {
        const bool digit = c >= '0' && c <= '9';
        const bool lower = c >= 'a' && c <= 'z';
        const bool upper = c >= 'A' && c <= 'Z';
        if (digit || lower || upper) {
            if (dash && !name.empty()) {
                name.push_back('-');
            }
            dash = false;
            name.push_back(upper ? static_cast<char>(c + 32) : c);
            if (name.size() >= kLongestPathName) {
                break;
            }
        } else {
            dash = true;
        }
    }
    return name.empty() ? std::string("release") : name;
}

std::string rowDate(std::int64_t seconds) {
    static constexpr const char* kMonths[] = {"Янв", "Фев", "Мар", "Апр", "Май", "Июн",
                                              "Июл", "Авг", "Сен", "Окт", "Ноя", "Дек"};
    if (seconds <= 0) {
        return {};
    }
    const auto time = static_cast<std::time_t>(seconds);
    std::tm parts{};
    if (gmtime_r(&time, &parts) == nullptr) {
        return {};
    }
    char text[32];
    std::snprintf(text, sizeof text, "%02d %s %02d", parts.tm_mday, kMonths[parts.tm_mon],
                  parts.tm_year % 100);
    return text;
}

} // namespace qb::service
