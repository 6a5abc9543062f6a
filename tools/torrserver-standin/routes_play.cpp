// /torrent/play, /torrent/preload/..., /torrent/view/... and /torrent/playlist.m3u.
#include "answers.h"
#include "byte_range.h"
#include "byte_source.h"
#include "routes.h"
#include "text_escape.h"

#include <memory>

namespace torrserver {

namespace {
constexpr std::int64_t kDefaultPreloadSize = 20 * 1024 * 1024;
constexpr auto kMetadataWait = std::chrono::seconds(60);

// Splits "<prefix><hash>/<name>"; false when an error answer has been sent.
bool splitHashPath(const Request& req, const std::string& prefix, std::string& hash,
                   std::string& name, Response& res) {
    const std::string rest = req.path.substr(prefix.size());
    const auto slash = rest.find('/');
    hash = rest.substr(0, slash);
    name = slash == std::string::npos ? std::string() : rest.substr(slash + 1);
    if (!isHexHash(hash)) {
        sendError(res, 500, "Internal Server Error");
        return false;
    }
    hash = toLower(hash);
    return true;
}

// Loads a known torrent and waits for its files; nullopt when an answer has been sent.
std::optional<TorrentEntry> loadWithFiles(App& app, const std::string& hash, Response& res) {
    if (!app.store.load(hash)) {
        sendError(res, 404, "Not Found");
        return std::nullopt;
    }
    std::optional<TorrentEntry> entry = app.store.waitForFiles(
        hash, std::chrono::steady_clock::now() + kMetadataWait, app.cancelled());
    if (!entry) {
        sendError(res, 500, "timeout connection torrent");
    }
    return entry;
}

std::optional<std::size_t> fileByCleanName(const TorrentEntry& entry, const std::string& name) {
    for (std::size_t i = 0; i < entry.meta.files.size(); ++i) {
        if (cleanName(entry.meta.files[i].path) == name) {
            return i;
        }
    }
    return std::nullopt;
}

// Runs the preload of a file inside the request; false when it did not finish.
bool preloadFile(App& app, const TorrentEntry& entry, std::size_t index, std::int64_t size) {
    const std::int64_t length = entry.meta.files[index].size;
    const std::int64_t readAhead =
        entry.meta.pieceLength > 0 ? entry.meta.pieceLength : 2 * 1024 * 1024;
    return app.preloads.run(entry.meta.hash, std::min(size, length), readAhead, app.cancelled());
}

std::int64_t requestedPreloadSize(const std::string& value) {
    std::int64_t megabytes = 0;
    try {
        megabytes = std::stoll(value);
    } catch (const std::exception&) {
        megabytes = 0; // "true" and other words mean the default size
    }
    return megabytes > 0 ? megabytes * 1024 * 1024 : kDefaultPreloadSize;
}

void sendM3u(Response& res, const std::string& text, const std::string& fileName) {
    res.set_header("Content-Disposition", "attachment; filename=\"" + fileName + "\"");
    res.set_content(text, "audio/x-mpegurl");
}
} // namespace

void handlePlay(App& app, const Request& req, Response& res) {
    // The library's own parameter parsing cuts values at a second "=", which magnets hold.
    const auto param = [&req](const char* name) {
        return queryParam(req.target, name).value_or(std::string());
    };
    const auto hasParam = [&req](const char* name) {
        return queryParam(req.target, name).has_value();
    };
    const std::string link = param("link");
    if (link.empty()) {
        sendError(res, 400, "link should not be empty");
        return;
    }
    const MetaResult meta = parseLink(link);
    if (!meta.ok) {
        sendError(res, 400, meta.error);
        return;
    }
    const bool save = param("save") == "true";
    const std::string& hash = meta.meta.hash;
    if (!app.store.load(hash) || save) {
        app.store.add(meta.meta, AddOptions{param("title"), std::nullopt, save});
    }
    const std::optional<TorrentEntry> entry = loadWithFiles(app, hash, res);
    if (!entry) {
        return;
    }
    if (param("m3u") == "true") {
        std::string fileName = param("fname");
        if (fileName.empty()) {
            fileName = cleanName(entry->name()) + ".m3u";
        } else if (extensionOf(fileName) != ".m3u") {
            fileName += ".m3u";
        }
        sendM3u(res, torrentM3u(*entry, requestHost(app, req)), fileName);
        return;
    }
    std::size_t index = 0;
    if (hasParam("file")) {
        long long requested = -1;
        try {
            requested = std::stoll(param("file"));
        } catch (const std::exception&) {
        }
        if (requested < 0 || requested >= static_cast<long long>(entry->meta.files.size())) {
            sendError(res, 400, "file index out of range");
            return;
        }
        index = static_cast<std::size_t>(requested);
    } else {
        std::vector<std::size_t> media;
        for (std::size_t i = 0; i < entry->meta.files.size(); ++i) {
            if (isMediaFile(entry->meta.files[i].path)) {
                media.push_back(i);
            }
        }
        if (media.size() > 1 || entry->meta.files.empty()) {
            const std::optional<PreloadState> state = app.preloads.state(hash);
            sendJson(res, statJson(*entry, statusOf(*entry, state), state));
            return;
        }
        index = media.empty() ? 0 : media.front();
    }
    if (hasParam("preload") &&
        !preloadFile(app, *entry, index, requestedPreloadSize(param("preload")))) {
        return; // the client went away or the server stops: nobody waits for an answer
    }
    res.set_redirect(viewPath(hash, entry->meta.files[index].path), 302);
}

// The torrent and file index that a "/torrent/<kind>/<hash>/<name>" path names; nothing, with
// the error answer sent, when there is none.
std::optional<std::pair<TorrentEntry, std::size_t>>
fileOfPath(App& app, const Request& req, const std::string& prefix, Response& res) {
    std::string hash;
    std::string name;
    if (!splitHashPath(req, prefix, hash, name, res)) {
        return std::nullopt;
    }
    std::optional<TorrentEntry> entry = loadWithFiles(app, hash, res);
    if (!entry) {
        return std::nullopt;
    }
    const std::optional<std::size_t> index = fileByCleanName(*entry, name);
    if (!index) {
        sendError(res, 404, "Not Found");
        return std::nullopt;
    }
    return std::pair{std::move(*entry), *index};
}

void handlePreload(App& app, const Request& req, Response& res) {
    const auto found = fileOfPath(app, req, "/torrent/preload/", res);
    if (!found) {
        return;
    }
    const auto& [entry, index] = *found;
    if (preloadFile(app, entry, index, kDefaultPreloadSize)) {
        res.set_content("", "text/plain; charset=UTF-8");
    }
}

void handleView(App& app, const Request& req, Response& res) {
    const auto found = fileOfPath(app, req, "/torrent/view/", res);
    if (!found) {
        return;
    }
    const auto& [entry, index] = *found;
    const std::string& hash = entry.meta.hash;
    const std::int64_t size = entry.meta.files[index].size;
    const ByteRange range = parseByteRange(req.get_header_value(kRawRangeHeader), size);
    if (range.kind == ByteRange::Kind::Unsatisfiable || range.kind == ByteRange::Kind::Invalid) {
        res.set_header("Content-Range", "bytes */" + std::to_string(size));
        sendText(res,
                 range.kind == ByteRange::Kind::Invalid ? "invalid range"
                                                        : "invalid range: failed to overlap",
                 416);
        return;
    }
    app.store.markViewed(hash, index);
    const std::string& path = entry.meta.files[index].path;
    TorrentMeta meta = entry.meta;
    if (meta.dataRoot.empty()) {
        // An uploaded or seeded .torrent may have its data in the content folder too.
        if (const std::optional<TorrentMeta> content = app.content.find(hash)) {
            meta.dataRoot = content->dataRoot;
        }
    }
    auto source = std::make_shared<ByteSource>(meta, index);
    res.set_header("Accept-Ranges", "bytes");
    std::int64_t first = 0;
    std::int64_t length = size;
    if (range.kind == ByteRange::Kind::Partial) {
        first = range.first;
        length = range.last - range.first + 1;
        res.status = 206;
        res.set_header("Content-Range", "bytes " + std::to_string(range.first) + "-" +
                                            std::to_string(range.last) + "/" +
                                            std::to_string(size));
    }
    if (length == 0) {
        res.set_content("", mimeTypeOf(path));
        return;
    }
    res.set_content_provider(
        static_cast<std::size_t>(length), mimeTypeOf(path),
        [source, first](std::size_t offset, std::size_t wanted, httplib::DataSink& sink) {
            const std::string bytes = source->read(first + static_cast<std::int64_t>(offset),
                                                   std::min<std::size_t>(wanted, 256 * 1024));
            return !bytes.empty() && sink.write(bytes.data(), bytes.size());
        });
}

void handleAllPlaylist(App& app, const Request& req, Response& res) {
    sendM3u(res, allTorrentsM3u(app.store.list(), requestHost(app, req)), "all.m3u");
}

} // namespace torrserver
