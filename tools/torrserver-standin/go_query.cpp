#include "go_query.h"

#include "text_escape.h"

#include <cctype>

namespace torrserver {

namespace {
int hexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    const auto lower = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower >= 'a' && lower <= 'f' ? lower - 'a' + 10 : -1;
}
} // namespace

std::optional<std::string> goQueryUnescape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '+') {
            out.push_back(' ');
        } else if (text[i] == '%') {
            if (i + 2 >= text.size()) {
                return std::nullopt;
            }
            const int high = hexValue(text[i + 1]);
            const int low = hexValue(text[i + 2]);
            if (high < 0 || low < 0) {
                return std::nullopt;
            }
            out.push_back(static_cast<char>(high * 16 + low));
            i += 2;
        } else {
            out.push_back(text[i]);
        }
    }
    return out;
}

std::optional<std::string> goQueryValue(std::string_view target, std::string_view name) {
    for (const std::string_view pair : queryPairs(target)) {
        if (pair.find(';') != std::string_view::npos) {
            continue;
        }
        const auto eq = pair.find('=');
        const std::optional<std::string> key = goQueryUnescape(pair.substr(0, eq));
        const std::optional<std::string> value = goQueryUnescape(
            eq == std::string_view::npos ? std::string_view() : pair.substr(eq + 1));
        if (key && value && *key == name) {
            return value;
        }
    }
    return std::nullopt;
}

} // namespace torrserver
