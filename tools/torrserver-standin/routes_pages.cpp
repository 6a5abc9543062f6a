// /echo and the server's small HTML pages.
#include "answers.h"
#include "routes.h"

namespace torrserver {

namespace {
std::string htmlEscape(const std::string& text) {
    std::string out;
    for (const char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out.push_back(c);
        }
    }
    return out;
}

std::string page(const std::string& title, const std::string& body) {
    return "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>TorrServer " +
           std::string(kVersion) + " - " + title + "</title></head>\n<body><h1>" + title +
           "</h1>\n" + body + "</body></html>\n";
}

std::string torrentsTable(App& app, bool withStats) {
    std::string rows;
    for (const TorrentEntry& entry : app.store.list()) {
        const auto state = app.preloads.state(entry.meta.hash);
        rows += "<tr><td>" + htmlEscape(entry.name()) + "</td><td>" + entry.meta.hash +
                "</td><td>" + statusText(statusOf(entry, state)) + "</td>";
        if (withStats) {
            rows += "<td>" + std::to_string(state ? state->preloadedBytes : 0) + "</td>";
        }
        rows += "</tr>\n";
    }
    return "<table><tr><th>Name</th><th>Hash</th><th>Status</th>" +
           std::string(withStats ? "<th>Loaded</th>" : "") + "</tr>\n" + rows + "</table>\n";
}
} // namespace

void handleEcho(App& app, const Request&, Response& res) {
    std::string text = kVersion;
    if (const std::optional<int> length = app.faults.echoLength()) {
        text.resize(static_cast<std::size_t>(*length), '.');
    }
    sendText(res, text);
}

void handlePage(App& app, const Request& req, Response& res) {
    std::string html;
    if (req.path == "/settings") {
        html = page("Settings", "<form><label>Cache size <input name=\"CacheSize\" "
                                "value=\"200\"> MB</label><br><label>Preload "
                                "<input name=\"PreloadBuffer\" value=\"20\"> MB</label></form>\n");
    } else if (req.path == "/stat") {
        html = page("Statistics", torrentsTable(app, true));
    } else if (req.path == "/cache") {
        html = page("Cache", "<p>Preload speed " + std::to_string(app.preloads.speed()) +
                                 " B/s</p>\n" + torrentsTable(app, true));
    } else {
        html = page("Torrents", torrentsTable(app, false) +
                                    "<p><a href=\"/torrent/playlist.m3u\">playlist</a></p>\n");
    }
    res.set_content(html, "text/html; charset=utf-8");
}

} // namespace torrserver
