#include "routes.h"

#include "text_escape.h"
#include "torrent_records.h"
#include "unload_timings.h"

#include <thread>

namespace torrserver {

namespace {
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
    if (!app.matrix()) {
        res.set_header("Access-Control-Allow-Origin", "*");
    }
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
    if (app.matrix()) {
        routeMatrix(app, req, res);
    } else {
        routeV11(app, req, res);
    }
}
} // namespace

App::App(const Options& o)
    : options(o)
    , version(versionText(o))
    , forms(addressFormsOf(version))
    , startTime(unixNow())
    , content(o.contentFolder)
    , preloads(o.preloadSpeed)
    , store(o.databaseFolder, content, std::chrono::milliseconds(o.metadataDelayMs),
            UnloadTimings::of(o.api, version, o.unloadAfterMs))
    , log(o.logFile)
    , accounts(o.databaseFolder, o.httpAuth, o.accounts)
    , search(o.searchFixture) {
    store.setPreloadEnd([this](const std::string& hash) { return preloads.endOf(hash); });
    store.setOnUnload([this](const std::string& hash) { preloads.forget(hash); });
}

App::~App() {
    if (stopper_.joinable()) {
        stopper_.join();
    }
}

void App::stopSoon() {
    std::call_once(stopOnce_, [this] {
        stopper_ = std::thread([this] {
            // The answer of the request that asked goes out first.
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            server.shutdown();
        });
    });
}

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

bool sendListFault(App& app, Response& res) {
    const ListFault fault = app.faults.listFault();
    if (fault == ListFault::None) {
        return false;
    }
    const std::string type =
        app.matrix() ? "application/json; charset=utf-8" : "application/json; charset=UTF-8";
    if (fault == ListFault::Malformed) {
        res.set_content(
            app.matrix() ? R"([{"title":"broken","hash":)" : R"([{"Name":"broken","Hash":)", type);
    } else {
        const Json object = app.matrix() ? Json{{"title", "not a list"}, {"stat", 5}}
                                         : Json{{"Name", "not a list"}, {"Status", 0}};
        res.set_content(goDump(object), type);
    }
    return true;
}

std::optional<std::string> queryValue(const Request& req, const char* name) {
    return queryParam(req.target, name);
}

void installRoutes(App& app) {
    app.store.setRecordMaker(app.matrix() ? matrixRecordMaker() : v11RecordMaker(app.forms));
    auto handler = [&app](const Request& req, Response& res) { dispatch(app, req, res); };
    app.server.Get(".*", handler);
    app.server.Post(".*", handler);
    app.server.Put(".*", handler);
    app.server.Patch(".*", handler);
    app.server.Delete(".*", handler);
    app.server.Options(".*", handler);
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
