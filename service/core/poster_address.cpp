#include "poster_address.h"

#include "plain_text.h"

namespace qb::service {

namespace {
constexpr std::size_t kLongestPoster = 1000;
} // namespace

std::optional<std::string> usablePosterAddress(std::string_view address) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    while (!address.empty() && address.front() == ' ') {
        address.remove_prefix(1);
    }
    while (!address.empty() && address.back() == ' ') {
        address.remove_suffix(1);
    }
    if (!startsWithNoCase(address, "http://") && !startsWithNoCase(address, "https://")) {
        return std::nullopt;
    }
    std::string out;
    for (const char c : address) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F || c == '"' || c == '\'' || c == '\\' || c == '<' ||
            c == '>' || c == '`' || c == '?' || c == '#') {
            return std::nullopt;
        }
        if (byte >= 0x80 || c == ' ') {
            out.push_back('%');
            out.push_back(kHex[byte >> 4]);
            out.push_back(kHex[byte & 0xF]);
        } else {
            out.push_back(c);
        }
    }
    if (out.size() > kLongestPoster || out.find("://", 0) + 3 >= out.size()) {
        return std::nullopt;
    }
    return out;
}

} // namespace qb::service
