// Today's server's /echo, its web interface at "/", /stat, /magnets, /shutdown and /viewed.
#include "matrix_request.h"
#include "matrix_routes.h"
#include "text_escape.h"

namespace torrserver {

void matrixEcho(App& app, const Request&, Response& res, const AuthState&) {
    std::string text = app.version;
    if (const std::optional<int> length = app.faults.echoLength()) {
        text.resize(static_cast<std::size_t>(*length), '.');
    }
    res.set_content(text, "text/plain; charset=utf-8");
}

void matrixWebPage(App& app, const Request&, Response& res, const AuthState&) {
    // The real page is a script application; the stand-in's names the server and its torrents.
    std::string rows;
    for (const SavedTorrent& record : app.store.allSaved()) {
        rows += "<li>" + htmlEscape(record.title) + "</li>\n";
    }
    const std::string html = "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\">"
                             "<title>TorrServer " +
                             htmlEscape(app.version) +
                             "</title></head>\n<body><div id=\"root\"><ul>\n" + rows +
                             "</ul></div></body></html>\n";
    res.set_header("Cache-Control", "public, max-age=31536000");
    res.set_header("ETag", hexText(app.version));
    res.set_content(html, "text/html; charset=utf-8");
}

void matrixStatPage(App& app, const Request&, Response& res, const AuthState&) {
    std::string text = "TorrServer " + app.version + "\n";
    for (const LoadedTorrent& torrent : app.store.allLoaded()) {
        text += "\n" + torrent.meta.hash + " " + torrent.name() + "\n";
    }
    res.set_content(text, "text/plain; charset=utf-8");
}

void matrixMagnets(App& app, const Request&, Response& res, const AuthState&) {
    std::string html = "<div>";
    for (const SavedTorrent& record : app.store.allSaved()) {
        const std::string magnet =
            magnetOf(record.meta.hash, record.meta.name, record.meta.trackers);
        html += "<p><a href='" + magnet + "'>magnet:?xt=urn:btih:" + record.meta.hash + "</a></p>";
    }
    res.set_content(html + "</div>", "text/html; charset=utf-8");
}

void matrixShutdown(App& app, const Request&, Response& res, const AuthState&) {
    res.status = 200;
    app.stopSoon(); // the server answers, then ends
}

void matrixViewed(App& app, const Request& req, Response& res, const AuthState&) {
    const std::optional<ViewedRequest> request = parseViewedRequest(req.body);
    if (!request) {
        sendStatus(res, 400);
        return;
    }
    if (request->action == "set" || request->action == "rem") {
        if (request->hash.empty()) {
            sendStatus(res, 400);
            return;
        }
        if (request->action == "set") {
            // The time code is kept only when TrackTimecode is on, which it is not by default.
            app.store.setViewed(request->hash, request->fileIndex, 0);
        } else {
            app.store.removeViewed(request->hash, request->fileIndex);
        }
        res.status = 200;
        return;
    }
    if (request->action != "list") {
        res.status = 200; // any other action answers nothing
        return;
    }
    const auto viewed = app.store.viewed();
    if (!request->hash.empty() && viewed.count(request->hash) == 0) {
        sendGinJson(res, Json::array());
        return;
    }
    Json list = Json::array();
    for (const auto& [hash, marks] : viewed) {
        if (!request->hash.empty() && hash != request->hash) {
            continue;
        }
        for (const auto& [index, timecode] : marks) {
            list.push_back(
                Json{{"hash", hash}, {"file_index", index}, {"timecode", goNumber(timecode)}});
        }
    }
    // No marks in a list the server builds up from nothing is Go's nil list: null.
    sendGinJson(res, list.empty() ? Json(nullptr) : list);
}

} // namespace torrserver
