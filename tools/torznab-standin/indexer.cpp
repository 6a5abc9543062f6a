#include "indexer.h"

#include "text_escape.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QTimeZone>

#include <algorithm>

namespace torznab {

namespace {

std::string rfc822(std::int64_t seconds) {
    return QDateTime::fromSecsSinceEpoch(seconds, QTimeZone::utc())
        .toString(Qt::RFC2822Date)
        .toStdString();
}

void attribute(std::string& out, const char* name, const std::string& value) {
    out += "<torznab:attr name=\"";
    out += name;
    out += "\" value=\"" + torrserver::htmlEscape(value) + "\"/>\n";
}

bool inCategories(const Item& item, const std::string& categories) {
    if (categories.empty()) {
        return true;
    }
    for (const QString& part : QString::fromStdString(categories).split(u',')) {
        const int asked = part.toInt();
        for (const int c : item.categories) {
            if (c == asked || (asked % 1000 == 0 && c / 1000 == asked / 1000)) {
                return true;
            }
        }
    }
    return false;
}

} // namespace

std::vector<Item> readFixture(const nlohmann::json& items, std::int64_t now) {
    std::vector<Item> out;
    for (const nlohmann::json& given : items) {
        Item item;
        item.title = given.value("title", "");
        item.hash = given.value("hash", "");
        item.size = given.value("size", std::int64_t{0});
        item.seeders = given.value("seeders", 0);
        item.leechers = given.value("leechers", 0);
        item.categories = given.value("categories", std::vector<int>{2000});
        item.files = given.value("files", -1);
        item.poster = given.value("poster", "");
        item.published =
            given.contains("ageHours")
                ? now - static_cast<std::int64_t>(given["ageHours"].get<double>() * 3600)
                : given.value("published", now);
        item.magnet = given.value("magnet", true);
        item.infohash = given.value("infohash", true);
        item.trackers = given.value("trackers", std::vector<std::string>{});
        item.description = given.value("description", "");
        item.genre = given.value("genre", "");
        item.year = given.value("year", 0);
        out.push_back(std::move(item));
    }
    return out;
}

std::vector<Item> search(const std::vector<Item>& items, const std::string& q,
                         const std::string& categories, int offset, int limit) {
    const QStringList words = QString::fromStdString(q).toLower().split(u' ', Qt::SkipEmptyParts);
    std::vector<Item> found;
    for (const Item& item : items) {
        const QString title = QString::fromStdString(item.title).toLower();
        const bool allWords = std::all_of(words.begin(), words.end(),
                                          [&title](const QString& w) { return title.contains(w); });
        if (allWords && inCategories(item, categories)) {
            found.push_back(item);
        }
    }
    std::stable_sort(found.begin(), found.end(),
                     [](const Item& a, const Item& b) { return a.published > b.published; });
    const auto from =
        std::min<std::size_t>(static_cast<std::size_t>(std::max(offset, 0)), found.size());
    found.erase(found.begin(), found.begin() + static_cast<std::ptrdiff_t>(from));
    if (limit >= 0 && found.size() > static_cast<std::size_t>(limit)) {
        found.resize(static_cast<std::size_t>(limit));
    }
    return found;
}

std::string rssOf(const std::vector<Item>& items, const std::string& self) {
    std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                      "<rss version=\"2.0\" xmlns:atom=\"http://www.w3.org/2005/Atom\" "
                      "xmlns:torznab=\"http://torznab.com/schemas/2015/feed\">\n<channel>\n"
                      "<atom:link href=\"" +
                      torrserver::htmlEscape(self) +
                      "\" rel=\"self\" type=\"application/rss+xml\"/>\n"
                      "<title>torznab-standin</title>\n<description>The project's stand-in "
                      "indexer</description>\n";
    for (const Item& item : items) {
        std::string magnet =
            "magnet:?xt=urn:btih:" + item.hash + "&dn=" + torrserver::queryEscape(item.title);
        for (const std::string& tracker : item.trackers) {
            magnet += "&tr=" + torrserver::queryEscape(tracker);
        }
        out += "<item>\n<title>" + torrserver::htmlEscape(item.title) + "</title>\n";
        out += "<guid>" + torrserver::htmlEscape(self) + "/details/" + item.hash + "</guid>\n";
        out += "<jackettindexer id=\"standin\">Stand-in</jackettindexer>\n";
        out +=
            "<comments>" + torrserver::htmlEscape(self) + "/details/" + item.hash + "</comments>\n";
        out += "<pubDate>" + rfc822(item.published) + "</pubDate>\n";
        out += "<size>" + std::to_string(item.size) + "</size>\n";
        out += "<description>" + torrserver::htmlEscape(item.description) + "</description>\n";
        out += "<link>" + torrserver::htmlEscape(item.magnet ? magnet : self + "/dl/" + item.hash) +
               "</link>\n";
        for (const int c : item.categories) {
            out += "<category>" + std::to_string(c) + "</category>\n";
        }
        out += "<enclosure url=\"" +
               torrserver::htmlEscape(self + "/dl/" + item.hash + ".torrent") + "\" length=\"" +
               std::to_string(item.size) + "\" type=\"application/x-bittorrent\"/>\n";
        for (const int c : item.categories) {
            attribute(out, "category", std::to_string(c));
        }
        attribute(out, "size", std::to_string(item.size));
        attribute(out, "seeders", std::to_string(item.seeders));
        attribute(out, "peers", std::to_string(item.seeders + item.leechers));
        if (item.infohash) {
            attribute(out, "infohash", item.hash);
        }
        if (item.magnet) {
            attribute(out, "magneturl", magnet);
        }
        if (item.files >= 0) {
            attribute(out, "files", std::to_string(item.files));
        }
        if (!item.poster.empty()) {
            // A poster of the fixture's own folder is served by the stand-in itself.
            attribute(out, "coverurl",
                      item.poster.starts_with('/') ? self + item.poster : item.poster);
        }
        if (!item.genre.empty()) {
            attribute(out, "genre", item.genre);
        }
        if (item.year > 0) {
            attribute(out, "year", std::to_string(item.year));
        }
        attribute(out, "downloadvolumefactor", "1");
        attribute(out, "uploadvolumefactor", "1");
        out += "</item>\n";
    }
    out += "</channel>\n</rss>\n";
    return out;
}

std::string capsAnswer() {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<caps>\n"
           "<server title=\"torznab-standin\"/>\n"
           "<limits default=\"100\" max=\"100\"/>\n"
           "<searching>\n<search available=\"yes\" supportedParams=\"q\"/>\n"
           "<tv-search available=\"no\" supportedParams=\"q\"/>\n"
           "<movie-search available=\"no\" supportedParams=\"q\"/>\n</searching>\n"
           "<categories>\n"
           "<category id=\"2000\" name=\"Movies\"><subcat id=\"2010\" name=\"Movies/Foreign\"/>"
           "<subcat id=\"2040\" name=\"Movies/HD\"/><subcat id=\"2045\" name=\"Movies/UHD\"/>"
           "</category>\n"
           "<category id=\"5000\" name=\"TV\"><subcat id=\"5040\" name=\"TV/HD\"/>"
           "<subcat id=\"5050\" name=\"TV/Other\"/><subcat id=\"5070\" name=\"TV/Anime\"/>"
           "<subcat id=\"5080\" name=\"TV/Documentary\"/></category>\n"
           "<category id=\"7000\" name=\"Books\"/>\n"
           "</categories>\n</caps>\n";
}

std::string errorAnswer(int code, const std::string& description) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<error code=\"" + std::to_string(code) +
           "\" description=\"" + torrserver::htmlEscape(description) + "\"/>\n";
}

} // namespace torznab
