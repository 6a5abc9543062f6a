#pragma once

#include "content_library.h"
#include "faults.h"
#include "go_json.h"
#include "options.h"
#include "preload.h"
#include "request_log.h"
#include "standin_server.h"
#include "torrent_store.h"

#include <chrono>
#include <functional>
#include <httplib.h>
#include <string>
#include <vector>

namespace torrserver {

inline constexpr const char* kVersion = "1.1.77";

// Everything the handlers share.
struct App {
    explicit App(const Options& o)
        : options(o)
        , content(o.contentFolder)
        , store(o.databaseFolder, content, std::chrono::milliseconds(o.metadataDelayMs))
        , preloads(o.preloadSpeed)
        , log(o.logFile) {}

    Options options;
    ContentLibrary content;
    TorrentStore store;
    PreloadTracker preloads;
    FaultSwitches faults;
    RequestLog log;
    StandinServer server;
    int port = 0;

    // A waiting handler gives up when its client has gone or the server stops.
    std::function<bool()> cancelled() {
        return [this] { return server.stopping() || StandinServer::clientGone(); };
    }
};

using Request = httplib::Request;
using Response = httplib::Response;

void installRoutes(App& app);

// Answer helpers.
void sendError(Response& res, int status, const std::string& message);
void sendJson(Response& res, const Json& value, int status = 200);
void sendText(Response& res, const std::string& text, int status = 200);
// The host:port that addresses in m3u answers use.
std::string requestHost(const App& app, const Request& req);
// Adds magnets, hashes or .torrent paths (one per entry) as saved torrents; answers errors.
std::vector<std::string> seedTorrents(App& app, const std::vector<std::string>& items);

// Handlers, by file.
void handleAdd(App& app, const Request& req, Response& res);
void handleUpload(App& app, const Request& req, Response& res);
void handleList(App& app, const Request& req, Response& res);
void handleRemove(App& app, const Request& req, Response& res);
void handleStat(App& app, const Request& req, Response& res);
void handlePlay(App& app, const Request& req, Response& res);
void handlePreload(App& app, const Request& req, Response& res);
void handleView(App& app, const Request& req, Response& res);
void handleAllPlaylist(App& app, const Request& req, Response& res);
void handleEcho(App& app, const Request& req, Response& res);
void handlePage(App& app, const Request& req, Response& res);
void handleControl(App& app, const Request& req, Response& res);

} // namespace torrserver
