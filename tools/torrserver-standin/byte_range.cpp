#include "byte_range.h"

#include <algorithm>
#include <cctype>
#include <limits>

namespace torrserver {

namespace {
std::string_view trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
        text.remove_suffix(1);
    }
    return text;
}

// Digits only, without overflow; -1 when not a number.
std::int64_t number(std::string_view text) {
    if (text.empty() || text.size() > 18) {
        return -1;
    }
    std::int64_t value = 0;
    for (const char c : text) {
        if (std::isdigit(static_cast<unsigned char>(c)) == 0) {
            return -1;
        }
        value = value * 10 + (c - '0');
    }
    return value;
}
} // namespace

ByteRange parseByteRange(std::string_view header, std::int64_t size) {
    ByteRange out;
    header = trim(header);
    if (header.empty()) {
        return out;
    }
    constexpr std::string_view kPrefix = "bytes=";
    if (header.substr(0, kPrefix.size()) != kPrefix) {
        out.kind = ByteRange::Kind::Invalid;
        return out;
    }
    std::string_view rest = header.substr(kPrefix.size());
    bool anyOverlap = false;
    while (true) {
        const auto comma = rest.find(',');
        const std::string_view spec = trim(rest.substr(0, comma));
        const auto dash = spec.find('-');
        if (dash == std::string_view::npos) {
            out.kind = ByteRange::Kind::Invalid;
            return out;
        }
        const std::string_view from = trim(spec.substr(0, dash));
        const std::string_view to = trim(spec.substr(dash + 1));
        std::int64_t first = 0;
        std::int64_t last = size - 1;
        if (from.empty()) {
            const std::int64_t suffix = number(to);
            if (suffix < 0) {
                out.kind = ByteRange::Kind::Invalid;
                return out;
            }
            first = std::max<std::int64_t>(0, size - suffix);
            if (suffix == 0) {
                first = size; // overlaps nothing
            }
        } else {
            first = number(from);
            const std::int64_t end = to.empty() ? std::max(first, size - 1) : number(to);
            if (first < 0 || end < 0 || end < first) {
                out.kind = ByteRange::Kind::Invalid;
                return out;
            }
            last = std::min(end, size - 1);
        }
        if (first < size && !anyOverlap) {
            anyOverlap = true;
            out.first = first;
            out.last = last;
        }
        if (comma == std::string_view::npos) {
            break;
        }
        rest = rest.substr(comma + 1);
    }
    out.kind = anyOverlap ? ByteRange::Kind::Partial : ByteRange::Kind::Unsatisfiable;
    return out;
}

} // namespace torrserver
