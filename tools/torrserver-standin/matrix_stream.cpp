// GET/HEAD /stream[/<name>] (flags that count by their presence: preload, stat, save, m3u,
// fromlast, play) and GET/HEAD /play/<hash>/<id>.
#include "file_stream.h"
#include "go_query.h"
#include "matrix_load.h"
#include "matrix_playlists.h"
#include "matrix_routes.h"
#include "matrix_settings.h"
#include "matrix_status.h"
#include "text_escape.h"

namespace torrserver {

namespace {
struct StreamQuery {
    std::string link, index, title, poster, category;
    bool preload, stat, save, m3u, fromLast, play;
};

StreamQuery readQuery(const Request& req) {
    const auto value = [&req](const char* name) {
        return goQueryValue(req.target, name).value_or(std::string());
    };
    const auto flag = [&req](const char* name) {
        return goQueryValue(req.target, name).has_value();
    };
    return {value("link"),     value("index"),   value("title"), value("poster"),
            value("category"), flag("preload"),  flag("stat"),   flag("save"),
            flag("m3u"),       flag("fromlast"), flag("play")};
}

// The server unescapes query values a second time; a broken escape leaves nothing.
std::string unescapedAgain(const std::string& text) {
    return goQueryUnescape(text).value_or(std::string());
}

// A link that a request without authentication may name: a magnet, a torrs token or a hash.
bool linkAllowedWithoutAuth(const std::string& link) {
    const std::optional<std::string> decoded = goQueryUnescape(link);
    if (!decoded) {
        return false;
    }
    const auto colon = decoded->find(':');
    const auto slash = decoded->find('/');
    if (colon == std::string::npos || (slash != std::string::npos && slash < colon)) {
        return true; // no scheme
    }
    const std::string scheme = toLower(decoded->substr(0, colon));
    return scheme == "magnet" || scheme == "torrs";
}

// The file the request means: the only one, else the index given; -1 when there is none.
long long fileIndexOf(const LoadedTorrent& torrent, const std::string& index) {
    if (torrent.meta.files.size() == 1) {
        return 1;
    }
    try {
        std::size_t used = 0;
        const long long value = std::stoll(index, &used);
        return used == index.size() ? value : -1;
    } catch (const std::exception&) {
        return -1;
    }
}

// Runs the server's preload of a file (the first file for an unknown id) inside the request.
void preloadFile(App& app, const LoadedTorrent& torrent, long long id) {
    const std::int64_t size = matrixPreloadSize(app);
    if (size <= 0 || torrent.meta.files.empty()) {
        return;
    }
    std::size_t index = 0;
    for (const MatrixFile& file : matrixFiles(torrent.meta)) {
        if (file.id == id) {
            index = file.index;
        }
    }
    const std::int64_t target = std::min(size, torrent.meta.files[index].size);
    // One piece read ahead, as far as the torrent goes.
    const std::int64_t readAhead =
        std::min(torrent.meta.pieceLength, totalLength(torrent.meta) - target);
    app.preloads.run(torrent.meta.hash, size, target, readAhead, app.cancelled());
}

// Streams the file with the id, marking it viewed; nothing is answered for an unknown id.
void streamId(App& app, const Request& req, Response& res, const LoadedTorrent& torrent,
              long long id) {
    const std::vector<MatrixFile> files = matrixFiles(torrent.meta);
    const auto file =
        std::find_if(files.begin(), files.end(), [id](const MatrixFile& f) { return f.id == id; });
    if (file == files.end()) {
        res.status = 200; // the server returns without writing anything
        return;
    }
    const std::string& hash = torrent.meta.hash;
    double timecode = 0;
    if (const auto viewed = app.store.viewed(); viewed.count(hash) > 0) {
        const auto& marks = viewed.at(hash);
        if (const auto it = marks.find(id); it != marks.end()) {
            timecode = it->second;
        }
    }
    app.store.setViewed(hash, id, timecode);
    StreamHeaders headers;
    headers.headers = {{"Connection", "close"},
                       {"Server", "TorrServer (Portable SDK for UPnP devices)"},
                       {"X-Stream-Timeout", "30"},
                       {"ETag", goQuote(hexText(hash + "/" + file->path))},
                       {"transferMode.dlna.org", "Streaming"}};
    headers.contentType = matrixMediaType(file->path);
    if (headers.contentType.empty()) {
        const std::string ext = extensionOf(file->path);
        if (ext == ".srt" || ext == ".smi" || ext == ".ssa") {
            headers.contentType = "text/" + ext.substr(1) + "; charset=utf-8";
        }
    }
    headers.lastModified = torrent.timestamp;
    streamFile(app, req, res, torrent, file->index, headers);
}

// The fields of what GetTorrent found.
AddFields fieldsOf(const FoundTorrent& found) {
    if (found.loaded) {
        return {found.loaded->title, found.loaded->poster, found.loaded->data,
                found.loaded->category};
    }
    return {found.saved->title, found.saved->poster, found.saved->data, found.saved->category};
}

// A torrent found loaded is used as it is; otherwise it is added (again) with the fields.
std::optional<LoadedTorrent> addUnlessLoaded(App& app, const TorrentMeta& linked,
                                             const FoundTorrent& found, const AddFields& fields) {
    return found.loaded ? found.loaded : matrixAddTorrent(app, linked, fields);
}
} // namespace

void matrixStream(App& app, const Request& req, Response& res, const AuthState& auth) {
    StreamQuery q = readQuery(req);
    const bool limited = auth.limited();
    if (limited) {
        if (!linkAllowedWithoutAuth(q.link)) {
            sendStatus(res, 400);
            return;
        }
        if (!q.play && !q.m3u) {
            refuseUnauthorized(res);
            return;
        }
    }
    if (q.link.empty()) {
        sendStatus(res, 400);
        return;
    }
    q.link = unescapedAgain(q.link);
    AddFields fields{unescapedAgain(q.title), unescapedAgain(q.poster), "",
                     unescapedAgain(q.category)};
    const std::string lowerLink = toLower(q.link);
    if (lowerLink.rfind("torrs://", 0) == 0) {
        sendStatus(res, 400); // the stand-in does not read torrs tokens
        return;
    }
    const MetaResult linked = parseLink(q.link);
    if (!linked.ok) {
        sendStatus(res, 500);
        return;
    }
    const FoundTorrent found = matrixGetTorrent(app, linked.meta.hash);
    if (limited && !found.found()) {
        refuseUnauthorized(res);
        return;
    }
    if (found.found()) {
        // With authentication the torrent's fields replace the query's; without, they only
        // fill the query's empty ones.
        const AddFields known = fieldsOf(found);
        for (auto [field, value] :
             {std::pair{&fields.title, &known.title}, std::pair{&fields.poster, &known.poster},
              std::pair{&fields.category, &known.category}}) {
            if (!limited || field->empty()) {
                *field = *value;
            }
        }
        fields.data = known.data;
    }
    const std::optional<LoadedTorrent> added = addUnlessLoaded(app, linked.meta, found, fields);
    std::optional<LoadedTorrent> torrent = added ? matrixGotInfo(app, linked.meta.hash) : added;
    if (!torrent) {
        sendStatus(res, 500);
        return;
    }
    if (!limited) {
        app.store.update(linked.meta.hash, [](LoadedTorrent& t) {
            if (t.title.empty()) {
                t.title = t.name();
            }
        });
        if (q.save) {
            app.store.saveLoaded(linked.meta.hash);
        }
        torrent = app.store.loaded(linked.meta.hash).value_or(*torrent);
    }
    const long long index = fileIndexOf(*torrent, q.index);
    if (index == -1 && q.play) {
        sendStatus(res, 400);
        return;
    }
    if (q.preload) {
        preloadFile(app, *torrent, index);
    }
    const std::optional<PreloadState> state = app.preloads.state(linked.meta.hash);
    if (q.stat && !limited) {
        sendGinJson(res,
                    matrixStatus(app.store.loaded(linked.meta.hash).value_or(*torrent), state));
    } else if (q.m3u) {
        const std::string prefix = "/stream";
        sendMatrixM3u(app, req, res, *torrent, req.path.substr(prefix.size()), q.fromLast, q.index);
    } else if (q.play) {
        streamId(app, req, res, *torrent, index);
    } else if (limited) {
        refuseUnauthorized(res);
    } else {
        res.status = 200;
    }
}

void matrixPlay(App& app, const Request& req, Response& res, const AuthState& auth) {
    const std::string rest = req.path.substr(std::string("/play/").size());
    const std::string hash = rest.substr(0, rest.find('/'));
    const std::string id = rest.substr(rest.find('/') + 1);
    const MetaResult linked = parseLink(hash);
    if (!linked.ok) {
        sendStatus(res, 500);
        return;
    }
    const FoundTorrent found = matrixGetTorrent(app, linked.meta.hash);
    if (!found.found()) {
        if (auth.limited()) {
            refuseUnauthorized(res);
        } else {
            sendStatus(res, 500);
        }
        return;
    }
    if (!addUnlessLoaded(app, linked.meta, found, fieldsOf(found))) {
        sendStatus(res, 500);
        return;
    }
    const std::optional<LoadedTorrent> torrent = matrixGotInfo(app, linked.meta.hash);
    if (!torrent) {
        sendStatus(res, 500);
        return;
    }
    const long long index = fileIndexOf(*torrent, id);
    if (index == -1) {
        sendStatus(res, 400);
        return;
    }
    streamId(app, req, res, *torrent, index);
}

} // namespace torrserver
