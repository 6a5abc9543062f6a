// POST /torrents: add, get, set, rem, list, drop and wipe. Errors answer with an empty body.
#include "matrix_load.h"
#include "matrix_request.h"
#include "matrix_routes.h"
#include "matrix_status.h"
#include "text_escape.h"

#include <algorithm>
#include <set>

namespace torrserver {

namespace {
Json statusOf(App& app, const LoadedTorrent& torrent) {
    return matrixStatus(torrent, app.preloads.state(torrent.meta.hash));
}

void addTorrent(App& app, const TorrentsRequest& request, Response& res) {
    if (request.link.empty()) {
        sendStatus(res, 400);
        return;
    }
    // The server reads "&amp;" in a link as "&".
    std::string link;
    for (std::size_t at = 0; at < request.link.size();) {
        const bool entity = request.link.compare(at, 5, "&amp;") == 0;
        link.push_back(request.link[at]);
        at += entity ? 5 : 1;
    }
    const MetaResult linked = parseLink(link);
    if (!linked.ok) {
        sendStatus(res, 400);
        return;
    }
    const LoadedTorrent torrent = matrixAddTorrent(
        app, linked.meta, {request.title, request.poster, request.data, request.category},
        matrixOnInfo(request.saveToDb, true));
    sendGinJson(res, statusOf(app, torrent));
}

void getTorrent(App& app, const std::string& hash, Response& res) {
    const FoundTorrent found = matrixGetTorrent(app, hash);
    if (found.loaded) {
        sendGinJson(res, statusOf(app, *found.loaded));
    } else if (found.saved) {
        sendGinJson(res, matrixSavedStatus(*found.saved));
    } else {
        sendStatus(res, 404);
    }
}

void setTorrent(App& app, const TorrentsRequest& request, Response& res) {
    const std::string& hash = request.hash;
    std::string title = request.title;
    std::optional<LoadedTorrent> loaded = app.store.loaded(hash);
    if (title.empty() && !loaded && app.store.saved(hash)) {
        // The server loads the torrent and waits for its metadata to take its name.
        matrixGetTorrent(app, hash);
        loaded = matrixGotInfo(app, hash);
        if (loaded) {
            title = loaded->meta.name;
        }
    }
    if (loaded) {
        app.store.update(hash, [&](LoadedTorrent& torrent) {
            torrent.title = title.empty() && torrent.meta.hasFiles ? torrent.meta.name : title;
            torrent.poster = request.poster;
            torrent.category = request.category;
            if (!request.data.empty()) {
                torrent.data = request.data;
            }
        });
    }
    app.store.updateSaved(hash, [&](SavedTorrent& record) {
        record.title = title;
        record.poster = request.poster;
        record.category = request.category;
        if (!request.data.empty()) {
            record.data = request.data;
        }
    });
    res.status = 200;
}

void listTorrents(App& app, Response& res) {
    if (sendListFault(app, res)) {
        return;
    }
    struct Row {
        std::int64_t timestamp;
        std::string title;
        Json status;
    };
    std::vector<Row> rows;
    std::set<std::string> loadedHashes;
    for (const LoadedTorrent& torrent : app.store.allLoaded()) {
        rows.push_back({torrent.timestamp, torrent.title, statusOf(app, torrent)});
        loadedHashes.insert(torrent.meta.hash);
    }
    for (const SavedTorrent& record : app.store.allSaved()) {
        if (loadedHashes.count(record.meta.hash) == 0) {
            rows.push_back({record.timestamp, record.title, matrixSavedStatus(record)});
        }
    }
    std::stable_sort(rows.begin(), rows.end(), [](const Row& a, const Row& b) {
        return a.timestamp != b.timestamp ? a.timestamp > b.timestamp : a.title > b.title;
    });
    Json list = Json::array();
    for (Row& row : rows) {
        list.push_back(std::move(row.status));
    }
    sendGinJson(res, list);
}

void removeTorrent(App& app, const std::string& hash) {
    app.store.unload(hash);
    app.store.removeSaved(hash);
    app.preloads.forget(hash);
}
} // namespace

void matrixTorrents(App& app, const Request& req, Response& res, const AuthState&) {
    std::optional<TorrentsRequest> request = parseTorrentsRequest(req.body);
    if (!request) {
        sendStatus(res, 400);
        return;
    }
    const std::string& action = request->action;
    if (action == "add") {
        addTorrent(app, *request, res);
        return;
    }
    if (action == "list") {
        listTorrents(app, res);
        return;
    }
    if (action == "wipe") {
        for (const LoadedTorrent& torrent : app.store.allLoaded()) {
            removeTorrent(app, torrent.meta.hash);
        }
        for (const SavedTorrent& record : app.store.allSaved()) {
            removeTorrent(app, record.meta.hash);
        }
        res.status = 200;
        return;
    }
    const bool takesHash =
        action == "get" || action == "set" || action == "rem" || action == "drop";
    if (!takesHash || request->hash.empty()) {
        sendStatus(res, 400);
        return;
    }
    if (!matrixHashOk(request->hash)) {
        // The server's hash decoding panics; its recovery answers 500.
        sendStatus(res, 500);
        return;
    }
    request->hash = toLower(request->hash);
    if (action == "get") {
        getTorrent(app, request->hash, res);
    } else if (action == "set") {
        setTorrent(app, *request, res);
    } else if (action == "rem") {
        removeTorrent(app, request->hash);
        res.status = 200;
    } else {
        app.store.unload(request->hash);
        res.status = 200;
    }
}

} // namespace torrserver
