#include "service_routes.h"

#include "build_config.h"
#include "core/poster_address.h"
#include "core/service_query.h"

#include <algorithm>

namespace qb::service::assets {
extern const unsigned char noPoster[];
extern const std::size_t noPosterSize;
extern const unsigned char error404[];
extern const std::size_t error404Size;
} // namespace qb::service::assets

namespace qb::service {

namespace {

// The token every query of the client carries.
constexpr std::string_view kSecret = "bqZanhMLfyKdoe";
constexpr const char* kHtml = "text/html; charset=utf-8";

bool hasSecret(const httplib::Request& request) {
    return queryParameter(request.target, "secret") == kSecret;
}

PageContext contextOf(const httplib::Request& request, const std::string& trackerDomain, int port) {
    const std::string host = request.get_header_value("Host");
    return {"http://" + (host.empty() ? "127.0.0.1:" + std::to_string(port) : host), trackerDomain};
}

void image(httplib::Response& response, const unsigned char* bytes, std::size_t size,
           const char* type) {
    response.set_content(reinterpret_cast<const char*>(bytes), size, type);
    response.set_header("Cache-Control", "max-age=86400");
}

// The poster address as the client sends it: appended to "url=" without encoding, so it runs to
// the end of the request's target and may hold "&" of its own (the service never lists a poster
// with a query: the HTTP library refuses a second "?").
std::string posterOf(const httplib::Request& request) {
    const std::size_t at = request.target.find("url=");
    return at == std::string::npos ? std::string() : request.target.substr(at + 4);
}

} // namespace

bool isLoopbackHost(std::string_view host) {
    for (const std::string_view name : {"127.0.0.1", "localhost", "[::1]"}) {
        if (host.starts_with(name)) {
            const std::string_view port = host.substr(name.size());
            if (port.empty()) {
                return true;
            }
            return port.size() >= 2 && port.size() <= 6 && port[0] == ':' &&
                   std::all_of(port.begin() + 1, port.end(),
                               [](char c) { return c >= '0' && c <= '9'; });
        }
    }
    return false;
}

void addServiceRoutes(httplib::Server& server, ServicePages& pages, std::string trackerDomain,
                      int port) {
    server.set_pre_routing_handler(
        [](const httplib::Request& request, httplib::Response& response) {
            if (request.has_header("Host") && !isLoopbackHost(request.get_header_value("Host"))) {
                response.status = 403;
                return httplib::Server::HandlerResponse::Handled;
            }
            return httplib::Server::HandlerResponse::Unhandled;
        });
    server.Get("/version.txt", [](const httplib::Request&, httplib::Response& response) {
        // The bare version: a line break would make it longer than the client reads.
        response.set_content(build::kAppVersion, "text/plain; charset=utf-8");
    });
    server.Get("/get.php", [&pages, trackerDomain, port](const httplib::Request& request,
                                                         httplib::Response& response) {
        const auto asked = Clock::now();
        if (!hasSecret(request)) {
            response.status = 403;
            return;
        }
        const auto query = parseServiceQuery(queryParameter(request.target, "q"));
        const PageContext context = contextOf(request, trackerDomain, port);
        response.set_content(query ? pages.resultPage(*query, context, asked)
                                   : resultPage(context, "Неизвестный запрос", {}),
                             kHtml);
    });
    server.Get("/get_info.php", [&pages, trackerDomain, port](const httplib::Request& request,
                                                              httplib::Response& response) {
        if (!hasSecret(request)) {
            response.status = 403;
            return;
        }
        const auto id = parseReleaseId(queryParameter(request.target, "id"));
        const auto page =
            id ? pages.releasePage(*id, contextOf(request, trackerDomain, port)) : std::nullopt;
        if (!page) {
            // An empty answer: the client shows its error picture.
            response.status = 404;
            return;
        }
        response.set_content(*page, kHtml);
    });
    server.Get("/check_poster.php",
               [](const httplib::Request& request, httplib::Response& response) {
                   // A poster is usable when the client can add it as it stands: it goes unescaped
                   // into the JSON text the client sends TorrServer.
                   const std::string poster = posterOf(request);
                   const bool usable = usablePosterAddress(poster) == poster;
                   response.set_content(usable ? "1" : "", "text/plain; charset=utf-8");
               });
    server.Get("/no-poster.jpg", [](const httplib::Request&, httplib::Response& response) {
        image(response, assets::noPoster, assets::noPosterSize, "image/jpeg");
    });
    server.Get("/error_404.png", [](const httplib::Request&, httplib::Response& response) {
        image(response, assets::error404, assets::error404Size, "image/png");
    });
    server.Get("/abt.need", [&pages](const httplib::Request&, httplib::Response& response) {
        response.set_content(pages.idlePage(), kHtml);
    });
}

} // namespace qb::service
