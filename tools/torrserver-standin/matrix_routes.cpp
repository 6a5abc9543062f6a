// Today's server's routes, as gin matches them: a path or method it does not serve answers 404
// "404 page not found" (text/plain); the guarded routes answer 401 without authentication.
#include "matrix_routes.h"

#include "route_path.h"

#include <vector>

namespace torrserver {

namespace {
using MatrixHandler = void (*)(App&, const Request&, Response&, const AuthState&);

struct Route {
    const char* method;
    const char* path; // exact; ":" a segment of anything but "/"; a final "*" the rest
    bool guarded;
    MatrixHandler handler;
};

const std::vector<Route>& routeTable() {
    static const std::vector<Route> kRoutes = {
        {"GET", "/echo", false, matrixEcho},
        {"GET", "/shutdown", true, matrixShutdown},
        {"GET", "/shutdown/*", true, matrixShutdown},
        {"POST", "/settings", true, matrixSettings},
        {"POST", "/torrents", true, matrixTorrents},
        {"POST", "/torrent/upload", true, matrixUpload},
        {"POST", "/cache", true, matrixCache},
        {"HEAD", "/stream", false, matrixStream},
        {"GET", "/stream", false, matrixStream},
        {"HEAD", "/stream/*", false, matrixStream},
        {"GET", "/stream/*", false, matrixStream},
        {"HEAD", "/play/:/:", false, matrixPlay},
        {"GET", "/play/:/:", false, matrixPlay},
        {"POST", "/viewed", true, matrixViewed},
        {"GET", "/playlistall/all.m3u", true, matrixAllPlaylist},
        {"GET", "/playlist", false, matrixPlaylist},
        {"GET", "/playlist/*", false, matrixPlaylist},
        {"GET", "/search/*", true, matrixSearch},
        {"GET", "/torznab/search/*", true, matrixTorznabSearch},
        {"GET", "/", true, matrixWebPage},
        {"GET", "/stat", true, matrixStatPage},
        {"GET", "/magnets", true, matrixMagnets},
    };
    return kRoutes;
}

const Route* findRoute(const std::string& method, const std::string& path) {
    for (const Route& route : routeTable()) {
        if (method == route.method && routePathMatches(route.path, path)) {
            return &route;
        }
    }
    return nullptr;
}

// gin's CORS middleware: a cross-origin request is allowed from anywhere; its preflight
// answers 204 itself.
bool applyCors(const Request& req, Response& res) {
    const std::string origin = req.get_header_value("Origin");
    const std::string host = req.get_header_value("Host");
    if (origin.empty() || origin == "http://" + host || origin == "https://" + host) {
        return false;
    }
    res.set_header("Access-Control-Allow-Origin", "*");
    if (req.method != "OPTIONS") {
        return false;
    }
    res.set_header("Access-Control-Allow-Methods", "GET,POST,PUT,PATCH,DELETE,HEAD,OPTIONS");
    res.set_header("Access-Control-Allow-Headers",
                   "Origin,Content-Length,Content-Type,X-Requested-With,Accept,Authorization");
    res.set_header("Access-Control-Max-Age", "43200");
    res.status = 204;
    return true;
}
} // namespace

void refuseUnauthorized(Response& res) {
    res.set_header("WWW-Authenticate", "Basic realm=Authorization Required");
    sendStatus(res, 401);
}

void sendStatus(Response& res, int status) {
    res.status = status;
    res.body.clear();
}

void sendGinJson(Response& res, const Json& value, int status) {
    res.status = status;
    res.set_content(goDump(value), "application/json; charset=utf-8");
}

void routeMatrix(App& app, const Request& req, Response& res) {
    if (applyCors(req, res)) {
        return;
    }
    AuthState auth;
    if (app.accounts.checking()) {
        auth.checked = true;
        auth.user = app.accounts.userOf(req.get_header_value("Authorization"));
    }
    const Route* route = findRoute(req.method, req.path);
    if (route == nullptr) {
        // A path missing only its trailing "/" is redirected to it, query and all.
        for (const char* base : {"/search", "/torznab/search"}) {
            if (req.path == base && findRoute(req.method, req.path + "/") != nullptr) {
                const std::string target = req.path + "/" + req.target.substr(req.path.size());
                res.set_redirect(target, req.method == "GET" ? 301 : 307);
                if (req.method == "GET") {
                    res.set_content("<a href=\"" + target + "\">Moved Permanently</a>.\n\n",
                                    "text/html; charset=utf-8");
                }
                return;
            }
        }
        res.status = 404;
        res.set_content("404 page not found", "text/plain");
        return;
    }
    if (route->guarded && auth.refused(app)) {
        refuseUnauthorized(res);
        return;
    }
    route->handler(app, req, res, auth);
}

} // namespace torrserver
