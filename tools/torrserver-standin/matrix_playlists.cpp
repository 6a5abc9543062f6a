// Today's server's playlists: /playlist, /playlist/<name> and /playlistall/all.m3u (the
// /stream m3u answers are built here too).
#include "matrix_playlists.h"

#include "file_stream.h"
#include "go_query.h"
#include "matrix_load.h"
#include "matrix_status.h"
#include "text_escape.h"

#include <algorithm>
#include <set>

namespace torrserver {

namespace {
std::string baseName(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string withoutExtension(const std::string& path) {
    const auto slash = path.find_last_of('/');
    const auto dot = path.find_last_of('.');
    return dot == std::string::npos || (slash != std::string::npos && dot < slash)
               ? path
               : path.substr(0, dot);
}

// The playlist's file name: the name after the route, "/" left out; ".m3u" added unless it
// ends in ".m3u" or ".m3u8".
std::string attachmentName(const std::string& fname, const std::string& torrentName) {
    std::string name;
    for (const char c : fname) {
        if (c != '/') {
            name.push_back(c);
        }
    }
    if (name.empty()) {
        return torrentName + ".m3u";
    }
    const std::string lower = toLower(name);
    return lower.ends_with(".m3u") || lower.ends_with(".m3u8") ? name : name + ".m3u";
}
} // namespace

std::string matrixOrigin(const App& app, const Request& req) {
    return "http://" + requestHost(app, req);
}

std::string matrixM3uList(App& app, const LoadedTorrent& torrent, const std::string& origin,
                          bool fromLast, const std::string& startIndex) {
    const std::vector<MatrixFile> files = matrixFiles(torrent.meta);
    const std::string& hash = torrent.meta.hash;
    std::size_t from = 0;
    const auto positionOf = [&files](long long id) -> std::optional<std::size_t> {
        for (std::size_t i = 0; i < files.size(); ++i) {
            if (files[i].id == id) {
                return i;
            }
        }
        return std::nullopt;
    };
    if (!startIndex.empty()) {
        try {
            std::size_t used = 0;
            const long long id = std::stoll(startIndex, &used);
            if (used == startIndex.size()) {
                from = positionOf(id).value_or(0);
            }
        } catch (const std::exception&) {
        }
    } else if (fromLast) {
        const auto viewed = app.store.viewed();
        if (const auto it = viewed.find(hash); it != viewed.end() && !it->second.empty()) {
            from = positionOf(it->second.rbegin()->first).value_or(0);
        }
    }
    std::string out;
    for (std::size_t i = from; i < files.size(); ++i) {
        const MatrixFile& file = files[i];
        if (!matrixPlayable(file.path)) {
            continue;
        }
        out += "#EXTINF:0," + baseName(file.path) + "\n";
        const std::string name = baseName(withoutExtension(file.path));
        std::string slaves;
        for (const MatrixFile& other : files) {
            if (other.path.find(name) != std::string::npos && other.id != file.id) {
                slaves += origin + "/stream/" + pathEscape(baseName(other.path)) + "?link=" + hash +
                          "&index=" + std::to_string(other.id) + "&play#";
            }
        }
        if (!slaves.empty()) {
            out += "#EXTVLCOPT:input-slave=" + slaves + "\n";
        }
        out += origin + "/stream/" + pathEscape(baseName(file.path)) + "?link=" + hash +
               "&index=" + std::to_string(file.id) + "&play\n";
    }
    return out;
}

void sendMatrixM3u(App& app, const Request& req, Response& res, const LoadedTorrent& torrent,
                   const std::string& fname, bool fromLast, const std::string& startIndex) {
    const std::string name = attachmentName(fname, torrent.name());
    const std::string list =
        "#EXTM3U\n" + matrixM3uList(app, torrent, matrixOrigin(app, req), fromLast, startIndex);
    sendPlaylist(res, list, name, hexText(torrent.meta.hash + "/" + name));
}

void matrixPlaylist(App& app, const Request& req, Response& res, const AuthState&) {
    const std::string hash = goQueryValue(req.target, "hash").value_or("");
    const bool fromLast = goQueryValue(req.target, "fromlast").has_value();
    const std::string index = goQueryValue(req.target, "index").value_or("");
    const std::optional<FoundTorrent> found = matrixFindNamed(app, hash, res);
    if (!found) {
        return;
    }
    // A loaded torrent is listed as it is; one of the database is loaded and waited for.
    const std::optional<LoadedTorrent> torrent =
        found->loaded ? found->loaded : matrixGotInfo(app, toLower(hash));
    if (!torrent) {
        sendStatus(res, 500);
        return;
    }
    const std::string prefix = "/playlist";
    sendMatrixM3u(app, req, res, *torrent, req.path.substr(prefix.size()), fromLast, index);
}

void matrixAllPlaylist(App& app, const Request& req, Response& res, const AuthState&) {
    const std::string category = goQueryValue(req.target, "category").value_or("");
    const std::string search = toLower(goQueryValue(req.target, "search").value_or(""));
    struct Row {
        std::int64_t timestamp;
        std::string title, poster, hash, category;
    };
    std::vector<Row> rows;
    std::set<std::string> loaded;
    for (const LoadedTorrent& torrent : app.store.allLoaded()) {
        rows.push_back({torrent.timestamp, torrent.title, torrent.poster, torrent.meta.hash,
                        torrent.category});
        loaded.insert(torrent.meta.hash);
    }
    for (const SavedTorrent& record : app.store.allSaved()) {
        if (loaded.count(record.meta.hash) == 0) {
            rows.push_back(
                {record.timestamp, record.title, record.poster, record.meta.hash, record.category});
        }
    }
    std::stable_sort(rows.begin(), rows.end(), [](const Row& a, const Row& b) {
        return a.timestamp != b.timestamp ? a.timestamp > b.timestamp : a.title > b.title;
    });
    const std::string origin = matrixOrigin(app, req);
    std::string list = "#EXTM3U\n";
    std::string hashes;
    for (const Row& row : rows) {
        if ((category == "uncategorized" && !row.category.empty()) ||
            (!category.empty() && category != "uncategorized" && row.category != category) ||
            (!search.empty() && toLower(row.title).find(search) == std::string::npos)) {
            continue;
        }
        list += "#EXTINF:0";
        if (!row.poster.empty()) {
            list += " tvg-logo=\"" + row.poster + "\"";
        }
        list += " type=\"playlist\"," + row.title + "\n";
        list += origin + "/stream/" + pathEscape(row.title) + ".m3u?link=" + row.hash +
                "&m3u&fn=file.m3u\n";
        hashes += row.hash;
    }
    sendPlaylist(res, list, "all.m3u", hexText(hashes + "/all.m3u"));
}

} // namespace torrserver
