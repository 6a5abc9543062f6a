// The 1.1 routes of playback: /torrent/play, /torrent/preload/..., /torrent/view/... and
// /torrent/playlist.m3u.
#include "file_stream.h"
#include "text_escape.h"
#include "v11_answers.h"
#include "v11_routes.h"

namespace torrserver {

namespace {
constexpr std::int64_t kMiB = 1024 * 1024;
constexpr std::int64_t kDefaultPreloadSize = 20 * kMiB; // PreloadBufferSize

std::string origin(const App& app, const Request& req) {
    return "http://" + requestHost(app, req);
}

// The loaded torrent, or the database's loaded anew; nullopt when neither has it.
std::optional<LoadedTorrent> loadedOrSaved(App& app, const std::string& hash) {
    if (std::optional<LoadedTorrent> torrent = app.store.loaded(hash)) {
        return torrent;
    }
    const std::optional<SavedTorrent> record = app.store.saved(hash);
    if (!record) {
        return std::nullopt;
    }
    LoadOptions options;
    options.displayName = parseLink(record->magnet).meta.name;
    return app.store.load(record->meta, options).first;
}

std::optional<LoadedTorrent> waitForInfo(App& app, const std::string& hash) {
    return app.store.waitForFiles(
        hash, std::chrono::steady_clock::now() + app.store.timings().metadataTimeout,
        app.cancelled());
}

// Preloads a file as the 1.1 server does, inside the request: `size` 0 means the default,
// a negative size nothing; a preload of the torrent running already is not waited for.
// False when the client left meanwhile.
bool preloadFile(App& app, const LoadedTorrent& torrent, std::size_t index, std::int64_t size) {
    if (size < 0) {
        return true;
    }
    const std::int64_t length = torrent.meta.files[index].size;
    const std::int64_t target = std::min(size == 0 ? kDefaultPreloadSize : size, length);
    // One piece read ahead, as far as the torrent goes.
    const std::int64_t readAhead =
        std::min(torrent.meta.pieceLength > 0 ? torrent.meta.pieceLength : 2 * kMiB,
                 totalLength(torrent.meta) - target);
    return app.preloads.run(torrent.meta.hash, target, target, readAhead, app.cancelled()) !=
           PreloadOutcome::Abandoned;
}

std::optional<std::size_t> fileByCleanName(const LoadedTorrent& torrent, const std::string& name) {
    for (std::size_t i = 0; i < torrent.meta.files.size(); ++i) {
        if (cleanName(torrent.meta.files[i].path) == name) {
            return i;
        }
    }
    return std::nullopt;
}

// Preloads unless something of the torrent has been preloaded already, then redirects to
// the file's absolute view address.
void playFile(App& app, const Request& req, Response& res, const LoadedTorrent& torrent,
              std::size_t index, std::int64_t preload) {
    const std::optional<PreloadState> state = app.preloads.state(torrent.meta.hash);
    if ((!state || state->preloadedBytes == 0) && !preloadFile(app, torrent, index, preload)) {
        return; // nobody waits for an answer
    }
    res.set_redirect(origin(app, req) + "/torrent/view/" + torrent.meta.hash + "/" +
                         cleanName(torrent.meta.files[index].path),
                     302);
}
} // namespace

void v11Play(App& app, const Request& req, Response& res) {
    const auto param = [&req](const char* name) {
        return queryValue(req, name).value_or(std::string());
    };
    const std::string link = param("link");
    if (link.empty()) {
        sendError(res, 400, "link should not be empty");
        return;
    }
    std::int64_t preload = 0;
    try {
        preload = std::stoll(param("preload"));
    } catch (const std::exception&) {
        preload = 0; // "true" and other words mean the default size
    }
    if (preload > 0) {
        preload = preload > (INT64_MAX >> 20) ? INT64_MAX : preload * kMiB;
    }
    const MetaResult meta = parseLink(link);
    if (!meta.ok) {
        sendError(res, 400, meta.error);
        return;
    }
    const std::string& hash = meta.meta.hash;
    if (!app.store.loaded(hash)) {
        LoadOptions options;
        options.displayName = meta.meta.name;
        app.store.load(meta.meta, options);
    }
    if (toLower(param("stat")) == "true") {
        const std::optional<LoadedTorrent> torrent = app.store.loaded(hash);
        const auto state = app.preloads.state(hash);
        if (torrent) {
            sendJson(res, v11PlayState(*torrent, v11Status(*torrent, state), state));
        }
        return;
    }
    const std::optional<LoadedTorrent> torrent = waitForInfo(app, hash);
    if (!torrent) {
        sendError(res, 400, "torrent closed befor get info");
        return;
    }
    if (toLower(param("save")) == "true" && !app.store.saved(hash)) {
        SavedTorrent record = v11LoadedRecord(*torrent, app.startTime);
        record.infoKept = app.forms == AddressForms::V1177 && meta.meta.hasFiles;
        app.store.save(record);
    }
    if (toLower(param("m3u")) == "true") {
        const std::string name = cleanName(torrent->name()) + ".m3u";
        sendPlaylist(res, v11TorrentM3u(*torrent, origin(app, req), app.forms), name,
                     hash + "/" + name);
        return;
    }
    std::vector<SavedFile> playable;
    for (const SavedFile& file : v11FileStats(torrent->meta)) {
        if (v11Playable(file.path)) {
            playable.push_back(file);
        }
    }
    // A file's id is its place among the paths in order; the server looks an id up among the
    // torrent's files in their own order.
    const auto& files = torrent->meta.files;
    if (playable.size() == 1) {
        const auto id = static_cast<std::size_t>(playable.front().id);
        if (id >= files.size()) {
            sendError(res, 500, "File not found in torrent " + torrent->name());
            return;
        }
        playFile(app, req, res, *torrent, id, preload);
        return;
    }
    const std::string file = param("file");
    if (file.empty() && playable.size() > 1) {
        const auto state = app.preloads.state(hash);
        sendJson(res, v11PlayState(*torrent, v11Status(*torrent, state), state));
        return;
    }
    long long index = 0;
    try {
        index = std::stoll(file);
    } catch (const std::exception&) {
        index = 0;
    }
    if (index < 0 || index >= static_cast<long long>(files.size())) {
        sendError(res, 400,
                  "File index " + std::to_string(index) + " not found in torrent " +
                      torrent->name());
        return;
    }
    playFile(app, req, res, *torrent, static_cast<std::size_t>(index), preload);
}

void v11Preload(App& app, const Request& req, Response& res) {
    // "/torrent/preload/[<size>/]<hash>/<file>" (the path comes decoded); every failure but a
    // bad hash answers 200, as the server drops the preload's errors.
    std::vector<std::string> parts;
    for (std::size_t at = std::string("/torrent/preload/").size(); at <= req.path.size();) {
        const std::size_t slash = req.path.find('/', at);
        parts.push_back(req.path.substr(at, slash - at));
        at = slash == std::string::npos ? req.path.size() + 1 : slash + 1;
    }
    std::int64_t size = kDefaultPreloadSize;
    if (parts.size() == 3) {
        try {
            const long long megabytes = std::stoll(parts[0]);
            size = megabytes > 0 && megabytes < (INT64_MAX >> 20) ? megabytes * kMiB : size;
        } catch (const std::exception&) {
        }
        parts.erase(parts.begin());
    }
    if (!isHexHash(parts[0])) {
        sendError(res, 500, "Internal Server Error");
        return;
    }
    const std::string hash = toLower(parts[0]);
    if (loadedOrSaved(app, hash)) {
        if (const std::optional<LoadedTorrent> torrent = waitForInfo(app, hash)) {
            if (const auto index = fileByCleanName(*torrent, parts[1])) {
                if (!preloadFile(app, *torrent, *index, size)) {
                    return;
                }
            }
        }
    }
    res.status = 200;
}

void v11View(App& app, const Request& req, Response& res) {
    const std::string rest = req.path.substr(std::string("/torrent/view/").size());
    const std::string hashText = rest.substr(0, rest.find('/'));
    const std::string name = rest.substr(rest.find('/') + 1);
    if (!isHexHash(hashText)) {
        sendError(res, 500, "Internal Server Error");
        return;
    }
    const std::string hash = toLower(hashText);
    if (!loadedOrSaved(app, hash)) {
        sendError(res, 400, "Torrent not found: " + hashText);
        return;
    }
    const std::optional<LoadedTorrent> torrent = waitForInfo(app, hash);
    if (!torrent) {
        sendError(res, 400, "torrent closed befor get info");
        return;
    }
    const std::optional<std::size_t> index = fileByCleanName(*torrent, name);
    if (!index) {
        sendError(res, 404, "File in torrent not found: " + name);
        return;
    }
    const std::string& path = torrent->meta.files[*index].path;
    app.store.updateSaved(hash, [&path](SavedTorrent& record) {
        for (SavedFile& file : record.files) {
            file.viewed = file.viewed || file.path == path;
        }
    });
    StreamHeaders headers;
    headers.headers = {{"Connection", "close"}, {"ETag", goQuote(hash + "/" + path)}};
    streamFile(app, req, res, *torrent, *index, headers);
}

void v11AllPlaylist(App& app, const Request& req, Response& res) {
    sendPlaylist(res, v11AllM3u(app.store.allSaved(), origin(app, req), app.forms), "playlist.m3u",
                 "");
}

void v11Restart(App&, const Request&, Response& res) {
    sendText(res, "Ok");
}

} // namespace torrserver
