// The 1.1 server's routes, as its web framework matches them: an unknown path answers 404, a
// known one with another method 405, both as {"message":...}; every answer allows any origin.
#include "v11_routes.h"

#include "route_path.h"

#include <vector>

namespace torrserver {

namespace {
struct Route {
    const char* path; // exact; "/:" a segment of anything but "/"; a final "*" the rest
    std::vector<std::string> methods;
    Handler handler;
};

const std::vector<Route>& routeTable() {
    static const std::vector<Route> kRoutes = {
        {"/echo", {"GET"}, v11Echo},
        {"/torrent/add", {"POST"}, v11Add},
        {"/torrent/upload", {"POST"}, v11Upload},
        {"/torrent/get", {"POST"}, v11Get},
        {"/torrent/rem", {"POST"}, v11Remove},
        {"/torrent/list", {"POST"}, v11List},
        {"/torrent/stat", {"POST"}, v11Stat},
        {"/torrent/drop", {"POST"}, v11Drop},
        {"/torrent/restart", {"GET"}, v11Restart},
        {"/torrent/playlist.m3u", {"GET"}, v11AllPlaylist},
        {"/torrent/play", {"GET", "HEAD"}, v11Play},
        {"/torrent/play/*", {"GET", "HEAD"}, v11Play},
        {"/torrent/view/:/:", {"GET", "HEAD"}, v11View},
        {"/torrent/preload/:/:", {"GET"}, v11Preload},
        {"/torrent/preload/:/:/:", {"GET"}, v11Preload},
        {"/settings", {"GET"}, v11Page},
        {"/cache", {"GET"}, v11Page},
        {"/stat", {"GET"}, v11Page},
        {"/", {"GET"}, v11Page},
    };
    return kRoutes;
}

} // namespace

void routeV11(App& app, const Request& req, Response& res) {
    bool pathKnown = false;
    for (const Route& route : routeTable()) {
        if (!routePathMatches(route.path, req.path)) {
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
    sendError(res, pathKnown ? 405 : 404, pathKnown ? "Method Not Allowed" : "Not Found");
}

} // namespace torrserver
