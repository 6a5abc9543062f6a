// The test and demo control endpoint under /__control (see README.md).
#include "routes.h"

namespace torrserver {

namespace {
Json describe(App& app) {
    return Json{{"faults", app.faults.describe()}, {"preloadSpeed", app.preloads.speed()}};
}

std::string applyExtras(App& app, const Json& control) {
    if (control.contains("preloadSpeed")) {
        const Json& speed = control["preloadSpeed"];
        if (!speed.is_number_integer() || speed.get<std::int64_t>() < 0) {
            return "\"preloadSpeed\" is a non-negative integer";
        }
        app.preloads.setSpeed(speed.get<std::int64_t>());
    }
    if (control.contains("clearLog") && control["clearLog"] == true) {
        app.log.clear();
    }
    if (control.contains("seed")) {
        const Json& seed = control["seed"];
        if (!seed.is_array()) {
            return "\"seed\" is an array of links, .torrent paths or seed objects";
        }
        std::vector<SeedItem> items;
        for (const Json& value : seed) {
            std::string error;
            const std::optional<SeedItem> item = seedItemOf(value, error);
            if (!item) {
                return error;
            }
            items.push_back(*item);
        }
        if (const auto errors = seedTorrents(app, items); !errors.empty()) {
            return errors.front();
        }
    }
    return {};
}
} // namespace

void handleControl(App& app, const Request& req, Response& res) {
    if (req.path == "/__control/log") {
        if (req.method == "GET") {
            sendJson(res, app.log.entries());
        } else if (req.method == "DELETE") {
            app.log.clear();
            sendJson(res, Json::array());
        } else {
            sendError(res, 405, "Method Not Allowed");
        }
        return;
    }
    if (req.path != "/__control") {
        sendError(res, 404, "Not Found");
        return;
    }
    if (req.method == "GET") {
        sendJson(res, describe(app));
        return;
    }
    if (req.method != "POST") {
        sendError(res, 405, "Method Not Allowed");
        return;
    }
    const Json control = Json::parse(req.body, nullptr, false);
    std::string error =
        control.is_discarded() ? "the control body is not JSON" : app.faults.apply(control);
    if (error.empty()) {
        error = applyExtras(app, control);
    }
    if (!error.empty()) {
        sendError(res, 400, error);
        return;
    }
    sendJson(res, describe(app));
}

} // namespace torrserver
