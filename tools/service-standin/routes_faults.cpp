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

// Letters that do not compress: a compressed answer must still be cut in the middle.
std::string scrambledText(size_t size) {
    std::string text(size, 'a');
    uint32_t state = 12345;
    for (char& c : text) {
        state = state * 1103515245u + 12345u;
        c = static_cast<char>('a' + (state >> 16) % 26);
    }
    return text;
}

// 100 MiB of text lines without a marker of any page, made piece by piece as they leave.
void answerHuge(httplib::Response& response) {
    constexpr size_t kHugeSize = 100 * 1024 * 1024;
    response.set_content_provider(kHugeSize, "text/html; charset=utf-8",
                                  [](size_t offset, size_t length, httplib::DataSink& sink) {
                                      static const std::string chunk = [] {
                                          std::string text(64 * 1024, 'x');
                                          for (size_t i = 1023; i < text.size(); i += 1024)
                                              text[i] = '\n';
                                          return text;
                                      }();
                                      (void)offset;
                                      return sink.write(chunk.data(),
                                                        std::min(length, chunk.size()));
                                  });
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
        case FaultKind::Reset:
            FaultServer::setFate(ConnectionFate::Reset);
            response.set_content(scrambledText(64 * 1024), "text/html; charset=utf-8");
            break;
        case FaultKind::Huge:
            answerHuge(response);
            break;
        case FaultKind::Delay:
            break;
        }
    };
}

} // namespace qb::standin
