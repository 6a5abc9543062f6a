// /torrent/add, /torrent/upload, /torrent/list, /torrent/rem and /torrent/stat.
#include "answers.h"
#include "request_body.h"
#include "routes.h"
#include "text_escape.h"

#include <set>

namespace torrserver {

namespace {
// Reads the hash of a rem/stat body; false when an error answer has been sent.
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
        sendError(res, 500, "Internal Server Error");
        return false;
    }
    hash = toLower(parsed.request.hash);
    return true;
}
} // namespace

void handleAdd(App& app, const Request& req, Response& res) {
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
    sendText(res, app.store.add(meta.meta, AddOptions{body.title, body.info, !body.dontSave}));
}

void handleUpload(App& app, const Request& req, Response& res) {
    if (!req.is_multipart_form_data()) {
        sendError(res, 400, "request Content-Type isn't multipart/form-data");
        return;
    }
    // The first file of each field; every file must parse before any is added.
    std::set<std::string> seenFields;
    std::vector<TorrentMeta> metas;
    for (const auto& [field, part] : req.files) {
        if (part.filename.empty() || !seenFields.insert(field).second) {
            continue;
        }
        const MetaResult meta = parseTorrentBytes(part.content);
        if (!meta.ok) {
            sendError(res, 400, part.filename + ": " + meta.error);
            return;
        }
        metas.push_back(meta.meta);
    }
    Json hashes = Json::array();
    for (const TorrentMeta& meta : metas) {
        hashes.push_back(app.store.add(meta, AddOptions{}));
    }
    sendJson(res, hashes);
}

void handleList(App& app, const Request&, Response& res) {
    switch (app.faults.listFault()) {
    case ListFault::Malformed:
        res.set_content(R"([{"Name":"broken","Hash":)", "application/json; charset=UTF-8");
        return;
    case ListFault::Object:
        sendJson(res, Json{{"Name", "not a list"}, {"Status", 0}});
        return;
    case ListFault::None:
        break;
    }
    Json list = Json::array();
    for (const TorrentEntry& entry : app.store.list()) {
        list.push_back(listEntryJson(entry, statusOf(entry, app.preloads.state(entry.meta.hash))));
    }
    sendJson(res, list);
}

void handleRemove(App& app, const Request& req, Response& res) {
    std::string hash;
    if (!readHash(req, res, hash)) {
        return;
    }
    app.store.remove(hash);
    app.preloads.forget(hash);
    res.set_content("null", "application/json; charset=UTF-8");
}

void handleStat(App& app, const Request& req, Response& res) {
    std::string hash;
    if (!readHash(req, res, hash)) {
        return;
    }
    const std::optional<TorrentEntry> entry = app.store.get(hash);
    if (!entry || !entry->loaded) {
        sendError(res, 404, "Not Found");
        return;
    }
    const std::optional<PreloadState> preload = app.preloads.state(hash);
    sendJson(res, statJson(*entry, statusOf(*entry, preload), preload));
}

} // namespace torrserver
