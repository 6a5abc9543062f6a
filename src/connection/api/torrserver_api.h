#pragma once

#include "connection/api/api_requests.h"
#include "connection/api/server_generation.h"
#include "connection/http/http_result.h"
#include "connection/list/server_list_reader.h"
#include "playback/preload/stat_answer.h"

#include <nlohmann/json.hpp>

#include <QByteArray>
#include <QString>

#include <optional>

namespace qb::connection {

// The server's pages that the window opens in the browser.
enum class ServerPage {
    Settings,
    Statistics,
    Cache,
};

// Every request the window makes to a TorrServer, said in one generation's own interface.
// `base` is the server's base address as the address field holds it; nothing is added to it
// or encoded. Requests block; the general client keeps the window's events flowing when it is
// used from the window's thread. An answer with a status of 400 or above is a failure.
class TorrServerApi {
public:
    virtual ~TorrServerApi() = default;

    virtual ServerGeneration generation() const = 0;

    // The torrent list, with a connect time-out and a read time-out of its own, and the reading
    // of its answer (safe on any thread).
    struct ListReply {
        net::HttpResult answer;
        QByteArray viewed; // today's viewed marks, where the server gave them
    };
    virtual ListReply list(const QString& base) = 0;
    virtual ServerListRead readList(const ListReply& reply) const = 0;

    // Adds, each saved on the server.
    virtual net::HttpResult addLink(const QString& base, const QString& link) = 0;
    virtual net::HttpResult addRelease(const QString& base, const ReleaseAdd& release) = 0;
    virtual net::HttpResult addListLine(const QString& base, const ListLineAdd& line) = 0;
    virtual net::HttpResult upload(const QString& base, const QString& fileName,
                                   const QByteArray& content) = 0;

    virtual net::HttpResult remove(const QString& base, const QString& hash) = 0;

    // The torrent's m3u playlist; the server loads the torrent for it.
    virtual net::HttpResult playlist(const QString& base, const nlohmann::ordered_json& entry) = 0;
    // The m3u playlist of a magnet played without adding it to the server's list.
    virtual net::HttpResult playWithoutAdding(const QString& base, const QString& magnet) = 0;

    // The preload: its address and hash for a source, the request on the preload client (it
    // answers when the preload has finished, and ends early when that client's connection is
    // closed), the state request and its answer, and when the preload counts as finished.
    virtual PreloadTarget preloadTarget(const PreloadSource& source) const = 0;
    virtual net::HttpResult preload(const QString& base, const QString& path) = 0;
    virtual net::HttpResult preloadState(const QString& base, const QString& hash) = 0;
    virtual std::optional<playback::PreloadStat>
    readPreloadState(const QByteArray& answer) const = 0;

    // Addresses the embedded view or the browser opens.
    virtual QString fileAddress(const QString& base, const nlohmann::ordered_json& file) const = 0;
    virtual QString allPlaylistAddress(const QString& base) const = 0;
    virtual QString pageAddress(const QString& base, ServerPage page) const = 0;
};

} // namespace qb::connection
