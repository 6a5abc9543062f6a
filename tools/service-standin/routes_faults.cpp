#include <map>

#include "fault_server.h"
#include "routes.h"

namespace qb::standin {

namespace {

std::string reasonOf(int status) {
    static const std::map<int, std::string> reasons = {{400, "Bad Request"},
                                                       {403, "Forbidden"},
                                                       {404, "Not Found"},
                                                       {429, "Too Many Requests"},
                                                       {500, "Internal Server Error"},
                                                       {502, "Bad Gateway"},
                                                       {503, "Service Temporarily Unavailable"},
                                                       {504, "Gateway Time-out"}};
    auto it = reasons.find(status);
    return it == reasons.end() ? std::string("Error") : it->second;
}

} // namespace

// The error page a web server in front of the service would give.
std::string errorPage(int status) {
    const std::string title = std::to_string(status) + " " + reasonOf(status);
    return "<html>\r\n<head><title>" + title + "</title></head>\r\n<body>\r\n<center><h1>" + title +
           "</h1></center>\r\n<hr><center>nginx</center>\r\n</body>\r\n</html>\r\n";
}

// Every request is logged, then meets the switched-on faults before its route answers. The
// control paths are not wrapped, so a test can always reach them.
httplib::Server::Handler withFaultsAndLog(ServiceContext& context,
                                          httplib::Server::Handler handler) {
    return [&context, handler = std::move(handler)](const httplib::Request& request,
                                                    httplib::Response& response) {
        context.log.record(request);
        FaultPlan plan = context.faults.take(request.target);
        if (plan.delayMs > 0)
            context.sleepFor(std::chrono::milliseconds(plan.delayMs));
        if (!plan.answer)
            return handler(request, response);
        const FaultRule& rule = *plan.answer;
        switch (rule.kind) {
        case FaultKind::Status:
            response.status = rule.status;
            response.set_content(rule.body.value_or(errorPage(rule.status)),
                                 "text/html; charset=utf-8");
            break;
        case FaultKind::Drop:
            FaultServer::setFate(ConnectionFate::Drop);
            break;
        case FaultKind::Garbage:
            FaultServer::setFate(ConnectionFate::Garbage);
            response.set_content("x", "text/plain");
            break;
        case FaultKind::Delay:
            break;
        }
    };
}

} // namespace qb::standin
