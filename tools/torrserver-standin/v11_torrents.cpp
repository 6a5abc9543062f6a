// The 1.1 routes of the torrent list: /torrent/add, upload, list, get, rem, drop and stat.
#include "request_body.h"
#include "text_escape.h"
#include "v11_answers.h"
#include "v11_routes.h"

#include <set>

namespace torrserver {

namespace {
// Reads the hash of a body; false when an error answer has been sent.
bool readHash(const Request& req, Response& res, std::string& hash) {
    const ParsedRequest parsed = parseTorrentRequest(req.body);
    if (!parsed.error.empty()) {
        sendError(res, 400, parsed.error);
        return false;
    }
    if (parsed.request.hash.empty()) {
        sendError(res, 400, "Hash must be non-empty");
        return false;
    }
    if (!isHexHash(parsed.request.hash)) {
        // The server's hash decoding panics; its recovery answers 500.
        sendError(res, 500, "Internal Server Error");
        return false;
    }
    hash = toLower(parsed.request.hash);
    return true;
}

// Adds a torrent as the server's helper does: loaded now, saved once its metadata is there
// unless the database has it already.
void addTorrent(App& app, const TorrentMeta& meta, const std::string& name, bool save) {
    LoadOptions options;
    options.displayName = name;
    options.onInfo.save = save;
    const auto [torrent, created] = app.store.load(meta, options);
    if (!save) {
        return;
    }
    if (torrent.meta.hasFiles) {
        if (!app.store.saved(meta.hash)) {
            app.store.saveLoaded(meta.hash);
        }
    } else if (!created) {
        app.store.update(meta.hash, [](LoadedTorrent& t) { t.onInfo.save = true; });
    }
}

int statusOfLoaded(App& app, const LoadedTorrent& torrent) {
    return v11Status(torrent, app.preloads.state(torrent.meta.hash));
}
} // namespace

void v11Add(App& app, const Request& req, Response& res) {
    const ParsedRequest parsed = parseTorrentRequest(req.body);
    if (!parsed.error.empty()) {
        sendError(res, 400, parsed.error);
        return;
    }
    const TorrentRequest& body = parsed.request;
    if (body.link.empty()) {
        sendError(res, 400, "Link must be non-empty");
        return;
    }
    const MetaResult meta = parseLink(body.link);
    if (!meta.ok) {
        sendError(res, 400, meta.error);
        return;
    }
    const std::string& hash = meta.meta.hash;
    // 1.1.77 answers at once for a loaded torrent, without saving it or keeping its Info.
    if (app.forms == AddressForms::V1177 && app.store.loaded(hash)) {
        sendText(res, hash);
        return;
    }
    addTorrent(app, meta.meta, body.title.empty() ? meta.meta.name : body.title, !body.dontSave);
    if (body.info && !body.info->empty()) {
        app.store.addInfo(hash, *body.info);
    }
    sendText(res, hash);
}

void v11Upload(App& app, const Request& req, Response& res) {
    if (!req.is_multipart_form_data()) {
        sendError(res, 400, "request Content-Type isn't multipart/form-data");
        return;
    }
    // The first file of each field; every file must parse before any is added.
    std::set<std::string> seenFields;
    std::vector<TorrentMeta> metas;
    bool dontSave = false;
    for (const auto& [field, part] : req.files) {
        if (part.filename.empty()) {
            dontSave = dontSave || field == "DontSave";
            continue;
        }
        if (!seenFields.insert(field).second) {
            continue;
        }
        const MetaResult meta = parseTorrentBytes(part.content);
        if (!meta.ok) {
            sendError(res, 400, meta.error);
            return;
        }
        metas.push_back(meta.meta);
    }
    Json hashes = Json::array();
    for (const TorrentMeta& meta : metas) {
        addTorrent(app, meta, meta.name, !dontSave);
        hashes.push_back(meta.hash);
    }
    sendJson(res, hashes);
}

void v11List(App& app, const Request&, Response& res) {
    if (sendListFault(app, res)) {
        return;
    }
    // The database's torrents first (newest, then by name), always with Status 0; then the
    // torrents loaded without being saved, with their real status.
    std::vector<Json> saved;
    std::set<std::string> savedHashes;
    for (const SavedTorrent& record : app.store.allSaved()) {
        saved.push_back(v11ListEntry(record, 0, app.store.info(record.meta.hash), app.forms));
        savedHashes.insert(record.meta.hash);
    }
    std::stable_sort(saved.begin(), saved.end(), [](const Json& a, const Json& b) {
        if (a["AddTime"] != b["AddTime"]) {
            return a["AddTime"] > b["AddTime"];
        }
        return a["Name"] < b["Name"];
    });
    Json list = Json::array();
    for (Json& entry : saved) {
        list.push_back(std::move(entry));
    }
    for (const LoadedTorrent& torrent : app.store.allLoaded()) {
        if (savedHashes.count(torrent.meta.hash) == 0) {
            list.push_back(v11ListEntry(v11LoadedRecord(torrent, app.startTime),
                                        statusOfLoaded(app, torrent),
                                        app.store.info(torrent.meta.hash), app.forms));
        }
    }
    sendJson(res, list);
}

void v11Get(App& app, const Request& req, Response& res) {
    const ParsedRequest parsed = parseTorrentRequest(req.body);
    if (!parsed.error.empty()) {
        sendError(res, 400, parsed.error);
        return;
    }
    const std::string hash = toLower(parsed.request.hash);
    if (hash.empty()) {
        sendError(res, 400, "Hash must be non-empty");
        return;
    }
    if (const std::optional<SavedTorrent> record = app.store.saved(hash)) {
        sendJson(res, v11ListEntry(*record, 0, app.store.info(hash), app.forms));
    } else if (const std::optional<LoadedTorrent> torrent = app.store.loaded(hash)) {
        sendJson(res, v11ListEntry(v11LoadedRecord(*torrent, app.startTime),
                                   statusOfLoaded(app, *torrent), app.store.info(hash), app.forms));
    } else {
        sendError(res, 400, "Error get: torrent not found " + parsed.request.hash);
    }
}

void v11Remove(App& app, const Request& req, Response& res) {
    std::string hash;
    if (!readHash(req, res, hash)) {
        return;
    }
    app.store.removeSaved(hash);
    app.store.unload(hash);
    app.preloads.forget(hash);
    res.set_content("null", "application/json; charset=UTF-8");
}

void v11Drop(App& app, const Request& req, Response& res) {
    std::string hash;
    if (!readHash(req, res, hash)) {
        return;
    }
    app.store.unload(hash);
    res.status = 200;
}

void v11Stat(App& app, const Request& req, Response& res) {
    std::string hash;
    if (!readHash(req, res, hash)) {
        return;
    }
    const std::optional<LoadedTorrent> torrent = app.store.loaded(hash);
    if (!torrent) {
        sendError(res, 404, "Not Found");
        return;
    }
    const std::optional<PreloadState> preload = app.preloads.state(hash);
    sendJson(res, v11StatJson(*torrent, v11Status(*torrent, preload), preload));
}

} // namespace torrserver
