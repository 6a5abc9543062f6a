#include <regex>

#include "routes.h"
#include "zip_writer.h"

namespace qb::standin {

namespace {

// Path prefixes of images and the fixture folders that hold them. The rating images keep the
// paths of the tracker's image host and of the film database, so those hosts can be pointed at
// this service (a host-resolver rule in the view) and their pictures still load.
const std::pair<const char*, const char*> kImageFolders[] = {
    {"/img/", "img/"}, {"/imdb/pic/", "img/imdb/"}, {"/rating/", "img/rating/"}};

void serveFile(httplib::Response& response, const ServiceContext& context,
               const std::string& relative) {
    auto data = context.fixtures.read(relative);
    if (!data) {
        response.status = 404;
        response.set_content(errorPage(404), "text/html; charset=utf-8");
        return;
    }
    response.set_content(std::move(*data), contentTypeFor(relative));
}

// "http://host[:port]/path..." -> "/path..." when the host is one whose images this service
// holds; nullopt otherwise.
std::optional<std::string> localPathOf(const std::string& url, const std::string& ownHost,
                                       int port) {
    static const std::regex form(R"(^https?://([^/]+)(/[^?#]*).*$)");
    std::smatch m;
    if (!std::regex_match(url, m, form))
        return std::nullopt;
    const std::string host = m[1];
    const std::string p = std::to_string(port);
    if (host == ownHost || host == "127.0.0.1:" + p || host == "localhost:" + p ||
        host == QB_TRACKER_IMAGE_HOST)
        return m[2].str();
    return std::nullopt;
}

} // namespace

std::optional<std::string> imageFixtureFor(const std::string& path) {
    if (path == "/no-poster.jpg" || path == "/error_404.png")
        return "img" + path;
    for (const auto& [prefix, folder] : kImageFolders) {
        std::string p(prefix);
        if (path.rfind(p, 0) == 0 && path.size() > p.size())
            return folder + path.substr(p.size());
    }
    return std::nullopt;
}

void installFileRoutes(httplib::Server& server, ServiceContext& context) {
    server.Get("/version.txt", withFaultsAndLog(context, [&context](const httplib::Request&,
                                                                    httplib::Response& response) {
                   response.set_content(context.options.version, "text/plain; charset=utf-8");
               }));
    server.Get("/abt.need", withFaultsAndLog(context, [&context](const httplib::Request& request,
                                                                 httplib::Response& response) {
                   auto page = context.fixtures.read("pages/abt.need.html");
                   answerPage(response, page.value_or(""),
                              baseUrlOf(request, context.options.port));
               }));
    // A poster can be used when it is one of the images this service holds.
    server.Get(
        "/check_poster.php", withFaultsAndLog(context, [&context](const httplib::Request& request,
                                                                  httplib::Response& response) {
            const auto at = request.target.find("url=");
            const auto url =
                at == std::string::npos ? std::string() : request.target.substr(at + 4);
            auto path = localPathOf(url, request.get_header_value("Host"), context.options.port);
            auto file = path ? imageFixtureFor(*path) : std::nullopt;
            response.set_content(file && context.fixtures.file(*file) ? "1" : "", "text/html");
        }));
    server.Get(R"(/ts/Quillbrook_x86_v(.+)\.zip)",
               withFaultsAndLog(context, [&context](const httplib::Request& request,
                                                    httplib::Response& response) {
                   const std::string version = request.matches[1];
                   if (version != context.options.version) {
                       response.status = 404;
                       response.set_content(errorPage(404), "text/html; charset=utf-8");
                       return;
                   }
                   const std::string readme = "Quillbrook " + version + "\r\n";
                   response.set_content(makeStoredZip({{"Quillbrook/readme.txt", readme},
                                                       {"Quillbrook/version.txt", version}}),
                                        "application/zip");
               }));
    // Images, and a 404 page for every other path and method.
    auto notFound = [](const httplib::Request&, httplib::Response& response) {
        response.status = 404;
        response.set_content(errorPage(404), "text/html; charset=utf-8");
    };
    server.Get(".*", withFaultsAndLog(context, [&context, notFound](const httplib::Request& request,
                                                                    httplib::Response& response) {
                   if (auto file = imageFixtureFor(request.path))
                       return serveFile(response, context, *file);
                   notFound(request, response);
               }));
    server.Post(".*", withFaultsAndLog(context, notFound));
    server.Put(".*", withFaultsAndLog(context, notFound));
    server.Patch(".*", withFaultsAndLog(context, notFound));
    server.Delete(".*", withFaultsAndLog(context, notFound));
}

} // namespace qb::standin
