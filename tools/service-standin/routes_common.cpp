#include "routes.h"

#include <cctype>

#include "text_util.h"

namespace qb::standin {

std::string contentTypeFor(const std::string& path) {
    auto dot = path.rfind('.');
    std::string ext = dot == std::string::npos ? std::string() : lowerUtf8(path.substr(dot + 1));
    if (ext == "jpg" || ext == "jpeg")
        return "image/jpeg";
    if (ext == "png")
        return "image/png";
    if (ext == "gif")
        return "image/gif";
    if (ext == "html" || ext == "need")
        return "text/html; charset=utf-8";
    if (ext == "css")
        return "text/css";
    if (ext == "zip")
        return "application/zip";
    if (ext == "txt")
        return "text/plain; charset=utf-8";
    return "application/octet-stream";
}

std::string baseUrlOf(const httplib::Request& request, int port) {
    auto host = request.get_header_value("Host");
    if (host.empty())
        host = "127.0.0.1:" + std::to_string(port);
    return "http://" + host;
}

void answerPage(httplib::Response& response, std::string html, const std::string& base) {
    replaceAll(html, "{{base}}", base);
    replaceAll(html, "{{imghost}}", QB_TRACKER_IMAGE_HOST);
    replaceAll(html, "{{filmdb}}", QB_FILMDB_HOST);
    response.set_content(std::move(html), "text/html; charset=utf-8");
}

bool secretMatches(const httplib::Request& request, const ServiceContext& context) {
    return queryParam(request.target, "secret") == context.options.secret &&
           !context.options.secret.empty();
}

std::string queryParam(const std::string& target, const std::string& name) {
    auto query = target.find('?');
    if (query == std::string::npos)
        return {};
    size_t at = query + 1;
    while (at <= target.size()) {
        auto end = std::min(target.find('&', at), target.size());
        auto eq = target.find('=', at);
        if (eq < end && target.compare(at, eq - at, name) == 0 && eq - at == name.size()) {
            std::string value;
            for (size_t i = eq + 1; i < end; ++i) {
                const char c = target[i];
                if (c == '+') {
                    value += ' ';
                } else if (c == '%' && i + 2 < end &&
                           std::isxdigit(static_cast<unsigned char>(target[i + 1])) &&
                           std::isxdigit(static_cast<unsigned char>(target[i + 2]))) {
                    value += static_cast<char>(std::stoi(target.substr(i + 1, 2), nullptr, 16));
                    i += 2;
                } else {
                    value += c;
                }
            }
            return value;
        }
        at = end + 1;
    }
    return {};
}

} // namespace qb::standin
