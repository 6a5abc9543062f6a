#include <nlohmann/json.hpp>

#include "routes.h"

namespace qb::standin {

namespace {

void answerFaults(httplib::Response& response, const ServiceContext& context) {
    nlohmann::json list = nlohmann::json::array();
    for (const auto& rule : context.faults.rules())
        list.push_back(faultToJson(rule));
    response.set_content(nlohmann::json{{"faults", list}}.dump(), "application/json");
}

void badRequest(httplib::Response& response, const std::string& why) {
    response.status = 400;
    response.set_content(nlohmann::json{{"error", why}}.dump(), "application/json");
}

} // namespace

// The switches a test or the demo uses while the service runs:
//   GET    /__control/faults   the rules in force
//   POST   /__control/faults   add one rule object, or an array of them
//   POST   /__control/reset    drop every rule and empty the request log
//   GET    /__control/log      the request log as JSON lines
//   DELETE /__control/log      empty the request log
void installControlRoutes(httplib::Server& server, ServiceContext& context) {
    server.Get("/__control/faults", [&context](const httplib::Request&, httplib::Response& res) {
        answerFaults(res, context);
    });
    server.Post("/__control/faults",
                [&context](const httplib::Request& req, httplib::Response& res) {
                    auto body = nlohmann::json::parse(req.body, nullptr, false);
                    if (body.is_discarded())
                        return badRequest(res, "the body is not JSON");
                    auto items = body.is_array() ? body : nlohmann::json::array({body});
                    std::vector<FaultRule> rules;
                    for (const auto& item : items) {
                        auto rule = faultFromJson(item);
                        if (!rule)
                            return badRequest(res, "not a fault rule: " + item.dump());
                        rules.push_back(*rule);
                    }
                    for (auto& rule : rules)
                        context.faults.add(std::move(rule));
                    answerFaults(res, context);
                });
    server.Post("/__control/reset", [&context](const httplib::Request&, httplib::Response& res) {
        context.faults.clear();
        context.log.clear();
        answerFaults(res, context);
    });
    server.Get("/__control/log", [&context](const httplib::Request&, httplib::Response& res) {
        res.set_content(context.log.text(), "application/x-ndjson; charset=utf-8");
    });
    server.Delete("/__control/log", [&context](const httplib::Request&, httplib::Response& res) {
        context.log.clear();
        res.set_content("", "text/plain");
    });
}

} // namespace qb::standin
