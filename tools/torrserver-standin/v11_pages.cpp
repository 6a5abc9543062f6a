// The 1.1 server's /echo and its small HTML pages.
#include "text_escape.h"
#include "v11_answers.h"
#include "v11_routes.h"

namespace torrserver {

namespace {
std::string page(const App& app, const std::string& title, const std::string& body) {
    return "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>TorrServer " +
           htmlEscape(app.version) + " - " + title + "</title></head>\n<body><h1>" + title +
           "</h1>\n" + body + "</body></html>\n";
}

std::string torrentsTable(App& app, bool withStats) {
    std::string rows;
    for (const SavedTorrent& record : app.store.allSaved()) {
        const auto state = app.preloads.state(record.meta.hash);
        rows += "<tr><td>" + htmlEscape(record.title) + "</td><td>" + record.meta.hash +
                "</td><td>" + v11StatusText(0) + "</td>";
        if (withStats) {
            rows += "<td>" + std::to_string(state ? state->preloadedBytes : 0) + "</td>";
        }
        rows += "</tr>\n";
    }
    return "<table><tr><th>Name</th><th>Hash</th><th>Status</th>" +
           std::string(withStats ? "<th>Loaded</th>" : "") + "</tr>\n" + rows + "</table>\n";
}
} // namespace

void v11Echo(App& app, const Request&, Response& res) {
    std::string text = app.version;
    if (const std::optional<int> length = app.faults.echoLength()) {
        text.resize(static_cast<std::size_t>(*length), '.');
    }
    sendText(res, text);
}

void v11Page(App& app, const Request& req, Response& res) {
    std::string html;
    if (req.path == "/settings") {
        html = page(app, "Settings",
                    "<form><label>Cache size <input name=\"CacheSize\" "
                    "value=\"200\"> MB</label><br><label>Preload "
                    "<input name=\"PreloadBuffer\" value=\"20\"> MB</label></form>\n");
    } else if (req.path == "/stat") {
        html = page(app, "Statistics", torrentsTable(app, true));
    } else if (req.path == "/cache") {
        html = page(app, "Cache",
                    "<p>Preload speed " + std::to_string(app.preloads.speed()) + " B/s</p>\n" +
                        torrentsTable(app, true));
    } else {
        html = page(app, "Torrents",
                    torrentsTable(app, false) +
                        "<p><a href=\"/torrent/playlist.m3u\">playlist</a></p>\n");
    }
    res.set_content(html, "text/html; charset=utf-8");
}

} // namespace torrserver
