#include "source_address.h"

#include <algorithm>
#include <vector>

namespace qb::service {

namespace {

constexpr std::size_t kLongestAddress = 2000;

struct Parts {
    std::string_view scheme; // "http://" or "https://"
    std::string_view authority;
    std::string_view path;
    std::string_view query;
};

Parts partsOf(std::string_view address) {
    Parts parts;
    const std::size_t schemeEnd = address.find("://");
    const std::size_t restStart = schemeEnd == std::string_view::npos ? 0 : schemeEnd + 3;
    parts.scheme = address.substr(0, restStart);
    std::string_view rest = address.substr(restStart);
    rest = rest.substr(0, rest.find('#'));
    const std::size_t query = rest.find('?');
    if (query != std::string_view::npos) {
        parts.query = rest.substr(query + 1);
        rest = rest.substr(0, query);
    }
    const std::size_t slash = rest.find('/');
    parts.authority = rest.substr(0, slash);
    parts.path = slash == std::string_view::npos ? std::string_view() : rest.substr(slash);
    return parts;
}

std::string_view withoutTrailingSlashes(std::string_view path) {
    while (!path.empty() && path.back() == '/') {
        path.remove_suffix(1);
    }
    return path;
}

std::string lowerCase(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; });
    return out;
}

} // namespace

bool isUsableSourceAddress(std::string_view address) {
    const std::string lower = lowerCase(address.substr(0, 8));
    if (!lower.starts_with("http://") && !lower.starts_with("https://")) {
        return false;
    }
    if (address.size() > kLongestAddress || std::any_of(address.begin(), address.end(), [](char c) {
            return static_cast<unsigned char>(c) <= 0x20 || c == 0x7F;
        })) {
        return false;
    }
    const Parts parts = partsOf(address);
    const std::string_view host = parts.authority.substr(parts.authority.rfind('@') + 1);
    return !host.empty() && host.front() != ':';
}

std::string torznabSearchAddress(std::string_view address, std::string_view text,
                                 std::string_view categories, int limit) {
    const Parts parts = partsOf(address);
    std::string url(parts.scheme);
    url += parts.authority;
    const std::string_view path = withoutTrailingSlashes(parts.path);
    url += path;
    if (!lowerCase(path).ends_with("/api")) {
        url += "/api";
    }
    url += '?';
    static constexpr std::string_view kOwn[] = {"t", "q", "cat", "extended", "limit", "offset"};
    std::string_view query = parts.query;
    while (!query.empty()) {
        const std::size_t end = query.find('&');
        const std::string_view pair = query.substr(0, end);
        const std::string_view name = pair.substr(0, pair.find('='));
        if (!pair.empty() && std::find(std::begin(kOwn), std::end(kOwn), name) == std::end(kOwn)) {
            url += pair;
            url += '&';
        }
        if (end == std::string_view::npos) {
            break;
        }
        query.remove_prefix(end + 1);
    }
    url += "t=search&q=" + queryEncoded(text);
    if (!categories.empty()) {
        url += "&cat=" + queryEncoded(categories);
    }
    url += "&extended=1&limit=" + std::to_string(limit);
    return url;
}

std::string torrServerSearchAddress(std::string_view address, bool throughItsIndexers,
                                    std::string_view text) {
    const Parts parts = partsOf(address);
    std::string url(parts.scheme);
    url += parts.authority;
    url += withoutTrailingSlashes(parts.path);
    url += throughItsIndexers ? "/torznab/search/?query=" : "/search/?query=";
    // Both routes unescape the query once more after the web framework has: a text with "%"
    // or "+" would otherwise change, or fail to unescape and ask for everything.
    url += queryEncoded(queryEncoded(text));
    return url;
}

std::string sourceName(const SourceAddress& source) {
    const Parts parts = partsOf(source.address);
    std::string name = source.kind == SourceKind::Torznab ? "Torznab " : "TorrServer ";
    name += parts.scheme;
    name += parts.authority.substr(parts.authority.rfind('@') + 1);
    name += withoutTrailingSlashes(parts.path);
    return name;
}

std::string queryEncoded(std::string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size() * 3);
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                           (c >= '0' && c <= '9') || c == '-' || c == '.' || c == '_' || c == '~';
        if (plain) {
            out.push_back(c);
        } else {
            out.push_back('%');
            out.push_back(kHex[byte >> 4]);
            out.push_back(kHex[byte & 0xF]);
        }
    }
    return out;
}

} // namespace qb::service
