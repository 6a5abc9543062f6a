#include "go_json.h"

#include <cmath>
#include <cstdint>

namespace torrserver {

std::string goDump(const Json& value) {
    const std::string text = value.dump(-1, ' ', false, Json::error_handler_t::replace);
    std::string out;
    out.reserve(text.size() + 16);
    // "&", "<" and ">" never occur in JSON outside of strings, so a plain pass is exact.
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '&') {
            out += "\\u0026";
        } else if (c == '<') {
            out += "\\u003c";
        } else if (c == '>') {
            out += "\\u003e";
        } else if (c == '\xE2' && i + 2 < text.size() && text[i + 1] == '\x80' &&
                   (text[i + 2] == '\xA8' || text[i + 2] == '\xA9')) {
            out += text[i + 2] == '\xA8' ? "\\u2028" : "\\u2029";
            i += 2;
        } else {
            out.push_back(c);
        }
    }
    return out;
}

Json goNumber(double value) {
    if (std::isfinite(value) && std::floor(value) == value && std::fabs(value) < 9.0e15) {
        return static_cast<std::int64_t>(value);
    }
    return value;
}

std::string messageBody(const std::string& message) {
    Json body = Json::object();
    body["message"] = message;
    return goDump(body);
}

} // namespace torrserver
