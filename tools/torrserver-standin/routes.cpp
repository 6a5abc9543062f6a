#include "routes.h"

#include "text_escape.h"

#include <fstream>
#include <iterator>
#include <string_view>
#include <thread>

namespace torrserver {

namespace {
struct Route {
    const char* path; // exact, or a prefix when it ends with "/"
    std::vector<std::string> methods;
    void (*handler)(App&, const Request&, Response&);
};

const std::vector<Route>& routeTable() {
    static const std::vector<Route> kRoutes = {
        {"/echo", {"GET"}, handleEcho},
        {"/torrent/add", {"POST"}, handleAdd},
        {"/torrent/upload", {"POST"}, handleUpload},
        {"/torrent/list", {"POST"}, handleList},
        {"/torrent/rem", {"POST"}, handleRemove},
        {"/torrent/stat", {"POST"}, handleStat},
        {"/torrent/play", {"GET"}, handlePlay},
        {"/torrent/playlist.m3u", {"GET"}, handleAllPlaylist},
        {"/torrent/view/", {"GET", "HEAD"}, handleView},
        {"/torrent/preload/", {"GET"}, handlePreload},
        {"/settings", {"GET"}, handlePage},
        {"/cache", {"GET"}, handlePage},
        {"/stat", {"GET"}, handlePage},
        {"/", {"GET"}, handlePage},
    };
    return kRoutes;
}

bool pathMatches(const Route& route, const std::string& path) {
    const std::string pattern = route.path;
    if (pattern.size() > 1 && pattern.back() == '/') {
        return path.rfind(pattern, 0) == 0 && path.size() > pattern.size();
    }
    return path == pattern;
}

std::string reasonPhrase(int status) {
    switch (status) {
    case 400:
        return "Bad Request";
    case 401:
        return "Unauthorized";
    case 403:
        return "Forbidden";
    case 404:
        return "Not Found";
    case 405:
        return "Method Not Allowed";
    case 408:
        return "Request Timeout";
    case 500:
        return "Internal Server Error";
    case 502:
        return "Bad Gateway";
    case 503:
        return "Service Unavailable";
    case 504:
        return "Gateway Timeout";
    default:
        return "Status " + std::to_string(status);
    }
}

void logRequest(App& app, const Request& req) {
    RawRequestHead head = parseRawHead(StandinServer::currentRawHead());
    if (head.method.empty()) {
        head.method = req.method;
        head.target = req.target;
        head.version = req.version;
        for (const auto& [name, value] : req.headers) {
            head.headers.emplace_back(name, value);
        }
    }
    app.log.add(head, req.body);
}

// Sleeps for an injected delay, giving up early when the client goes or the server stops.
void delayAnswer(App& app, int ms) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    const auto cancelled = app.cancelled();
    while (std::chrono::steady_clock::now() < until && !cancelled()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

void dispatch(App& app, const Request& req, Response& res) {
    if (req.path == "/__control" || req.path.rfind("/__control/", 0) == 0) {
        handleControl(app, req, res);
        return;
    }
    logRequest(app, req);
    if (req.version == "HTTP/1.0") {
        StandinServer::answerAsHttp10();
    }
    if (const int ms = app.faults.delayMsFor(req.path); ms > 0) {
        delayAnswer(app, ms);
    }
    if (const std::optional<int> status = app.faults.statusFor(req.path)) {
        sendError(res, *status, reasonPhrase(*status));
        return;
    }
    bool pathKnown = false;
    for (const Route& route : routeTable()) {
        if (!pathMatches(route, req.path)) {
            continue;
        }
        pathKnown = true;
        for (const std::string& method : route.methods) {
            if (method == req.method) {
                route.handler(app, req, res);
                return;
            }
        }
    }
    if (pathKnown) {
        sendError(res, 405, "Method Not Allowed");
    } else {
        sendError(res, 404, "Not Found");
    }
}
} // namespace

void sendError(Response& res, int status, const std::string& message) {
    res.status = status;
    res.set_content(messageBody(message), "application/json; charset=UTF-8");
}

void sendJson(Response& res, const Json& value, int status) {
    res.status = status;
    res.set_content(goDump(value), "application/json; charset=UTF-8");
}

void sendText(Response& res, const std::string& text, int status) {
    res.status = status;
    res.set_content(text, "text/plain; charset=UTF-8");
}

std::string requestHost(const App& app, const Request& req) {
    const std::string host = req.get_header_value("Host");
    return host.empty() ? "127.0.0.1:" + std::to_string(app.port) : host;
}

std::vector<std::string> seedTorrents(App& app, const std::vector<std::string>& items) {
    std::vector<std::string> errors;
    // An item followed by " ready" has its metadata at once, without the metadata delay.
    constexpr std::string_view kReady = " ready";
    for (std::string item : items) {
        AddOptions options;
        if (item.size() > kReady.size() && item.ends_with(kReady)) {
            item.resize(item.size() - kReady.size());
            options.metadataAtOnce = true;
        }
        MetaResult parsed;
        const bool isPath = item.find("://") == std::string::npos &&
                            item.rfind("magnet:", 0) != 0 && extensionOf(item) == ".torrent";
        if (isPath) {
            std::ifstream in(item, std::ios::binary);
            const std::string bytes((std::istreambuf_iterator<char>(in)), {});
            parsed = in ? parseTorrentBytes(bytes) : MetaResult{false, {}, "cannot read " + item};
        } else {
            parsed = parseLink(item);
        }
        if (parsed.ok) {
            app.store.add(parsed.meta, options);
        } else {
            errors.push_back(item + ": " + parsed.error);
        }
    }
    return errors;
}

void installRoutes(App& app) {
    auto handler = [&app](const Request& req, Response& res) { dispatch(app, req, res); };
    app.server.Get(".*", handler);
    app.server.Post(".*", handler);
    app.server.Put(".*", handler);
    app.server.Patch(".*", handler);
    app.server.Delete(".*", handler);
    app.server.Options(".*", handler);
    app.server.set_default_headers({{"Access-Control-Allow-Origin", "*"}});
    app.server.setConnectionFaultHook([&app](const RawRequestHead& head, const std::string& body) {
        const std::string path = head.target.substr(0, head.target.find('?'));
        const ConnectionFault fault = app.faults.connectionFaultFor(path);
        if (fault != ConnectionFault::None) {
            static const char* const kNames[] = {"", "close", "garbage", "cut", "huge"};
            app.log.add(head, body, kNames[static_cast<int>(fault)]);
        }
        return fault;
    });
}

} // namespace torrserver
