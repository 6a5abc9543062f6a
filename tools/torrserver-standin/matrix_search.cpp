// GET /search/*?query=... (the built-in release index) and /torznab/search/*?query=...,
// answering from the search fixture as the settings switch them on.
#include "go_query.h"
#include "matrix_routes.h"
#include "matrix_settings.h"

namespace torrserver {

namespace {
// The query, unescaped a second time as the server does (nothing for a broken escape).
std::string queryOf(const Request& req) {
    const std::string raw = goQueryValue(req.target, "query").value_or(std::string());
    return goQueryUnescape(raw).value_or(std::string());
}

bool hasIndexer(const Json& settings) {
    const Json urls = settings.value("TorznabUrls", Json());
    if (!urls.is_array()) {
        return false;
    }
    for (const Json& url : urls) {
        if (url.is_object() && !url.value("Host", "").empty() && !url.value("Key", "").empty()) {
            return true;
        }
    }
    return false;
}
} // namespace

void matrixSearch(App& app, const Request& req, Response& res, const AuthState&) {
    if (!matrixSettingsOf(app).value("EnableRutorSearch", false)) {
        sendGinJson(res, Json::array(), 400);
        return;
    }
    sendGinJson(res, app.search.rutor(queryOf(req)));
}

void matrixTorznabSearch(App& app, const Request& req, Response& res, const AuthState&) {
    const Json settings = matrixSettingsOf(app);
    if (!settings.value("EnableTorznabSearch", false)) {
        sendGinJson(res, Json::array(), 400);
        return;
    }
    sendGinJson(res, hasIndexer(settings) ? app.search.torznab(queryOf(req)) : Json::array());
}

} // namespace torrserver
