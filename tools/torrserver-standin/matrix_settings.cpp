// POST /settings (get, set, def) and POST /cache (get).
#include "matrix_settings.h"

#include "go_decode.h"
#include "matrix_load.h"
#include "matrix_status.h"
#include "text_escape.h"

#include <algorithm>

namespace torrserver {

namespace {
constexpr std::int64_t kMiB = 1024 * 1024;

Json defaults(const App& app) {
    const bool fixture = !app.options.searchFixture.empty();
    const auto off = [&app](const char* name) {
        return std::find(app.options.searchOff.begin(), app.options.searchOff.end(), name) !=
               app.options.searchOff.end();
    };
    Json s = Json::object();
    s["CacheSize"] = 64 * kMiB;
    s["ReaderReadAHead"] = 95;
    s["PreloadCache"] = 50;
    s["UseDisk"] = false;
    s["TorrentsSavePath"] = "";
    s["RemoveCacheOnDrop"] = false;
    s["ForceEncrypt"] = false;
    s["RetrackersMode"] = 1;
    s["TorrentDisconnectTimeout"] = 30;
    s["EnableDebug"] = false;
    s["EnableDLNA"] = false;
    s["EnableBonjour"] = true;
    s["FriendlyName"] = "";
    s["EnableRutorSearch"] = fixture && !off("rutor");
    s["EnableTorznabSearch"] = fixture && !off("torznab");
    s["TorznabUrls"] =
        fixture
            ? Json::array(
                  {Json{{"Host", "http://127.0.0.1:9117/api/v2.0/indexers/all/results/torznab/"},
                        {"Key", "standin"},
                        {"Name", "standin"}}})
            : Json(nullptr);
    s["TMDBSettings"] = Json{{"APIKey", ""},
                             {"APIURL", "https://api.themoviedb.org"},
                             {"ImageURL", "https://image.tmdb.org"},
                             {"ImageURLRu", "https://imagetmdb.com"}};
    for (const char* off : {"EnableIPv6", "DisableTCP", "DisableUTP", "DisableUPNP", "DisableDHT",
                            "DisablePEX", "DisableUpload"}) {
        s[off] = false;
    }
    s["DownloadRateLimit"] = 0;
    s["UploadRateLimit"] = 0;
    s["ConnectionsLimit"] = 25;
    s["PeersListenPort"] = 0;
    s["EnableLPD"] = true;
    s["LPDIPv6"] = false;
    s["SslPort"] = 0;
    s["SslCert"] = "";
    s["SslKey"] = "";
    s["ResponsiveMode"] = true;
    s["ShowFSActiveTorr"] = true;
    s["StoreSettingsInJson"] = true;
    s["StoreViewedInJson"] = false;
    s["TrackTimecode"] = false;
    return s;
}

bool sameKind(const Json& a, const Json& b) {
    return (a.is_number_integer() && b.is_number_integer()) || (a.is_string() && b.is_string()) ||
           (a.is_boolean() && b.is_boolean()) || ((a.is_array() || a.is_null()) && b.is_array()) ||
           (a.is_object() && b.is_object());
}

// The settings a "set" gives: every field from the request (zero when absent, as Go decodes
// into a fresh struct), then the server's fail-safe values. nullopt for a member of the wrong
// type.
std::optional<Json> settingsFrom(const App& app, const Json& given) {
    Json s = defaults(app);
    for (auto& [key, value] : s.items()) {
        Json zero = value.is_string()    ? Json("")
                    : value.is_boolean() ? Json(false)
                    : value.is_object()  ? value
                    : value.is_number()  ? Json(0)
                                         : Json(nullptr);
        for (const auto& [name, member] : given.items()) {
            if (equalsIgnoreCase(name, key) && !member.is_null()) {
                if (!sameKind(value.is_null() ? Json::array() : value, member)) {
                    return std::nullopt;
                }
                zero = member;
            }
        }
        value = zero;
    }
    if (s["CacheSize"] == 0) {
        s["CacheSize"] = 64 * kMiB;
    }
    if (s["ConnectionsLimit"] == 0) {
        s["ConnectionsLimit"] = 25;
    }
    if (s["TorrentDisconnectTimeout"] == 0) {
        s["TorrentDisconnectTimeout"] = 30;
    }
    s["ReaderReadAHead"] =
        std::clamp<std::int64_t>(s["ReaderReadAHead"].get<std::int64_t>(), 5, 100);
    s["PreloadCache"] = std::clamp<std::int64_t>(s["PreloadCache"].get<std::int64_t>(), 0, 100);
    if (s["TorrentsSavePath"] == "") {
        s["UseDisk"] = false;
    }
    return s;
}
} // namespace

Json matrixSettingsOf(App& app) {
    const Json stored = app.store.settings();
    return stored.is_object() ? stored : defaults(app);
}

std::int64_t matrixPreloadSize(App& app) {
    const Json s = matrixSettingsOf(app);
    const std::int64_t cache = s.value("CacheSize", 64 * kMiB);
    const std::int64_t percent = s.value("PreloadCache", 50);
    const auto size =
        static_cast<std::int64_t>(static_cast<float>(cache) / 100.0F * static_cast<float>(percent));
    return std::min(size, cache);
}

void matrixSettings(App& app, const Request& req, Response& res, const AuthState&) {
    using Kind = GoField::Kind;
    const GoDecoded decoded =
        decodeGoObject(req.body, {{"action", Kind::String}, {"sets", Kind::Object}});
    if (!decoded.ok) {
        sendStatus(res, 400);
        return;
    }
    const std::string action = decoded.values.value("action", "");
    if (action == "get") {
        sendGinJson(res, matrixSettingsOf(app));
    } else if (action == "set") {
        if (!decoded.values.contains("sets")) {
            sendStatus(res, 500); // the server dereferences the missing settings and recovers
            return;
        }
        const std::optional<Json> settings = settingsFrom(app, decoded.values["sets"]);
        if (!settings) {
            sendStatus(res, 400);
            return;
        }
        app.store.setSettings(*settings);
        // Setting anew drops every loaded torrent.
        for (const LoadedTorrent& torrent : app.store.allLoaded()) {
            app.store.unload(torrent.meta.hash);
        }
        res.status = 200;
    } else if (action == "def") {
        app.store.setSettings(defaults(app));
        for (const LoadedTorrent& torrent : app.store.allLoaded()) {
            app.store.unload(torrent.meta.hash);
        }
        res.status = 200;
    } else {
        sendStatus(res, 400);
    }
}

void matrixCache(App& app, const Request& req, Response& res, const AuthState&) {
    using Kind = GoField::Kind;
    const GoDecoded decoded =
        decodeGoObject(req.body, {{"action", Kind::String}, {"hash", Kind::String}});
    if (!decoded.ok || decoded.values.value("action", "") != "get") {
        sendStatus(res, 400);
        return;
    }
    const std::optional<FoundTorrent> found =
        matrixFindNamed(app, decoded.values.value("hash", ""), res);
    if (!found) {
        return;
    }
    if (!found->loaded || !found->loaded->meta.hasFiles) {
        sendGinJson(res, Json::object());
        return;
    }
    const LoadedTorrent& torrent = *found->loaded;
    const auto preload = app.preloads.state(torrent.meta.hash);
    const Json s = matrixSettingsOf(app);
    Json out = Json::object();
    out["Hash"] = torrent.meta.hash;
    out["Capacity"] = s.value("CacheSize", 64 * kMiB);
    out["Filled"] = preload ? preload->preloadedBytes : 0;
    out["PiecesLength"] = torrent.meta.pieceLength;
    out["PiecesCount"] =
        torrent.meta.pieceLength > 0
            ? (totalLength(torrent.meta) + torrent.meta.pieceLength - 1) / torrent.meta.pieceLength
            : 0;
    out["Torrent"] = matrixStatus(torrent, preload);
    out["Pieces"] = Json::object();
    out["Readers"] = Json::array();
    sendGinJson(res, out);
}

} // namespace torrserver
