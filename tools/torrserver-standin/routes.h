#pragma once

#include "address_forms.h"
#include "basic_auth.h"
#include "content_library.h"
#include "faults.h"
#include "go_json.h"
#include "options.h"
#include "preload.h"
#include "request_log.h"
#include "search_fixture.h"
#include "standin_server.h"
#include "torrent_store.h"

#include <chrono>
#include <functional>
#include <httplib.h>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace torrserver {

// Everything the handlers share.
struct App {
    explicit App(const Options& o);
    ~App();
    App(const App&) = delete;
    App& operator=(const App&) = delete;

    Options options;
    std::string version;    // what /echo answers
    AddressForms forms;     // 1.1: the version's address forms
    std::int64_t startTime; // the server's start, Unix seconds
    ContentLibrary content;
    PreloadTracker preloads; // before the store, whose ticker asks it until the store is gone
    TorrentStore store;
    FaultSwitches faults;
    RequestLog log;
    Accounts accounts;
    SearchFixture search;
    StandinServer server;
    int port = 0;

    // Stops the server from a handler's request, once, without waiting for that handler.
    void stopSoon();

    bool matrix() const { return options.api == ApiMode::Matrix; }

    // A waiting handler gives up when its client has gone or the server stops.
    std::function<bool()> cancelled() {
        return [this] { return server.stopping() || StandinServer::clientGone(); };
    }

private:
    std::once_flag stopOnce_;
    std::thread stopper_;
};

using Request = httplib::Request;
using Response = httplib::Response;
using Handler = void (*)(App&, const Request&, Response&);

void installRoutes(App& app);

// Answer helpers.
void sendJson(Response& res, const Json& value, int status = 200);
// The 1.1 server's error answer {"message":"..."}.
void sendError(Response& res, int status, const std::string& message);
void sendText(Response& res, const std::string& text, int status = 200);
// The host:port that addresses in m3u answers use.
std::string requestHost(const App& app, const Request& req);
// Answers the list's fault when one is switched on (a broken or an object answer of the
// mode's shape); false when the list answers normally.
bool sendListFault(App& app, Response& res);
// The first value of a query parameter as Go's url.ParseQuery reads it, or nullopt; the
// library's own parsing cuts values at a second "=", which magnets hold.
std::optional<std::string> queryValue(const Request& req, const char* name);

// The routes of each API generation, unknown paths and methods included.
void routeV11(App& app, const Request& req, Response& res);
void routeMatrix(App& app, const Request& req, Response& res);

void handleControl(App& app, const Request& req, Response& res);

// How each generation saves a loaded torrent whose metadata has arrived.
TorrentStore::RecordMaker v11RecordMaker(AddressForms forms);
TorrentStore::RecordMaker matrixRecordMaker();

// A torrent to seed: a line of a seed file or a member of the control endpoint's "seed".
struct SeedItem {
    std::string link; // magnet, hash, link or .torrent path
    std::string title, poster, category, data, info;
    bool ready = false; // its files are known at once
    std::optional<std::int64_t> timestamp;
};

// "<link>[ ready]" or a JSON object with "link" and optional "title", "poster", "category",
// "data", "info", "ready", "timestamp"; nullopt with `error` set when it is neither.
std::optional<SeedItem> seedItemOf(const Json& value, std::string& error);
std::optional<SeedItem> seedItemOfLine(const std::string& line, std::string& error);
// Seeds torrents as the server would hold them from before: one with its files known is in the
// database, a magnet without is added and saved once its metadata arrives. Answers errors.
std::vector<std::string> seedTorrents(App& app, const std::vector<SeedItem>& items);

} // namespace torrserver
