#include "magnet.h"

#include "plain_text.h"

#include <algorithm>
#include <cstdint>

namespace qb::service {

namespace {

constexpr std::string_view kHashPrefix = "urn:btih:";
constexpr std::size_t kLongestTracker = 300;

int hexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

int base32Digit(char c) {
    if (c >= 'A' && c <= 'Z') {
        return c - 'A';
    }
    if (c >= 'a' && c <= 'z') {
        return c - 'a';
    }
    if (c >= '2' && c <= '7') {
        return c - '2' + 26;
    }
    return -1;
}

// The values of one parameter of a magnet link, in order, still encoded.
std::vector<std::string_view> parameterValues(std::string_view magnet, std::string_view name) {
    std::vector<std::string_view> values;
    const std::size_t query = magnet.find('?');
    if (query == std::string_view::npos) {
        return values;
    }
    std::string_view rest = magnet.substr(query + 1);
    while (!rest.empty()) {
        const std::size_t end = rest.find('&');
        const std::string_view pair = rest.substr(0, end);
        const std::size_t equals = pair.find('=');
        if (equals != std::string_view::npos && pair.substr(0, equals) == name) {
            values.push_back(pair.substr(equals + 1));
        }
        if (end == std::string_view::npos) {
            break;
        }
        rest.remove_prefix(end + 1);
    }
    return values;
}

bool isRowSafe(char c) {
    return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.' || c == '_' ||
           c == '~';
}

} // namespace

std::optional<std::string> normalisedHash(std::string_view text) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string hash;
    if (text.size() == 40) {
        for (const char c : text) {
            const int digit = hexDigit(c);
            if (digit < 0) {
                return std::nullopt;
            }
            hash.push_back(kHex[digit]);
        }
        return hash;
    }
    if (text.size() == 32) {
        std::uint64_t bits = 0;
        int held = 0;
        for (const char c : text) {
            const int digit = base32Digit(c);
            if (digit < 0) {
                return std::nullopt;
            }
            bits = (bits << 5) | static_cast<std::uint64_t>(digit);
            held += 5;
            while (held >= 4) {
                held -= 4;
                hash.push_back(kHex[(bits >> held) & 0xF]);
            }
        }
        return hash;
    }
    return std::nullopt;
}

std::optional<std::string> hashOfMagnet(std::string_view magnet) {
    if (!startsWithNoCase(magnet, "magnet:?")) {
        return std::nullopt;
    }
    for (const std::string_view value : parameterValues(magnet, "xt")) {
        const std::string decoded = percentDecoded(value);
        if (startsWithNoCase(decoded, kHashPrefix)) {
            if (auto hash = normalisedHash(std::string_view(decoded).substr(kHashPrefix.size()))) {
                return hash;
            }
        }
    }
    return std::nullopt;
}

std::vector<std::string> trackersOfMagnet(std::string_view magnet, std::size_t limit) {
    std::vector<std::string> trackers;
    if (!startsWithNoCase(magnet, "magnet:?")) {
        return trackers;
    }
    for (const std::string_view value : parameterValues(magnet, "tr")) {
        if (trackers.size() >= limit) {
            break;
        }
        std::string tracker = percentDecoded(value);
        if (isUsableTracker(tracker)) {
            trackers.push_back(std::move(tracker));
        }
    }
    return trackers;
}

bool isUsableTracker(std::string_view address) {
    const bool known = startsWithNoCase(address, "http://") ||
                       startsWithNoCase(address, "https://") ||
                       startsWithNoCase(address, "udp://") || startsWithNoCase(address, "wss://");
    return known && address.size() <= kLongestTracker &&
           std::none_of(address.begin(), address.end(),
                        [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; });
}

std::string rowMagnet(std::string_view hash, std::string_view displayName,
                      const std::vector<std::string>& trackers) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string link = "magnet:?xt=urn:btih:";
    link += hash;
    link += "&dn=";
    link += displayName;
    for (const std::string& tracker : trackers) {
        link += "&tr=";
        for (const char c : tracker) {
            if (isRowSafe(c)) {
                link.push_back(c);
            } else {
                const auto byte = static_cast<unsigned char>(c);
                link.push_back('%');
                link.push_back(kHex[byte >> 4]);
                link.push_back(kHex[byte & 0xF]);
            }
        }
    }
    return link;
}

std::string percentDecoded(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size()) {
            const int high = hexDigit(text[i + 1]);
            const int low = hexDigit(text[i + 2]);
            if (high >= 0 && low >= 0) {
                out.push_back(static_cast<char>(high * 16 + low));
                i += 2;
                continue;
            }
        }
        out.push_back(text[i]);
    }
    return out;
}

} // namespace qb::service
