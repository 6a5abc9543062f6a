#include "size_text.h"

#include <algorithm>

#include "plain_text.h"

#include <cmath>
#include <cstdio>

namespace qb::service {

namespace {

constexpr double kKiB = 1024.0;
constexpr double kMiB = kKiB * 1024.0;
constexpr double kGiB = kMiB * 1024.0;
constexpr std::string_view kNoBreakSpace = "\u00A0";

// The power of 1024 a unit names: bytes ("", "B", "bytes", "байт"), then k, M, G, T and P in
// Latin or Cyrillic letters, each alone or followed by "B", "iB" or "CiB" (today's TorrServer
// writes "GCiB"); -1 for anything else.
int unitPower(std::string_view unit) {
    const std::string folded = foldedCase(unit);
    static constexpr std::string_view kBytes[] = {"",      "b",      "byte",
                                                  "bytes", "\u0431", "\u0431\u0430\u0439\u0442"};
    for (const std::string_view bytes : kBytes) {
        if (folded == bytes) {
            return 0;
        }
    }
    struct Prefix {
        std::string_view letter;
        int power;
    };
    static constexpr Prefix kPrefixes[] = {{"k", 1},      {"\u043a", 1}, {"m", 2},
                                           {"\u043c", 2}, {"g", 3},      {"\u0433", 3},
                                           {"t", 4},      {"\u0442", 4}, {"p", 5}};
    static constexpr std::string_view kEndings[] = {"", "b", "ib", "cib", "\u0431"};
    for (const Prefix& prefix : kPrefixes) {
        if (!folded.starts_with(prefix.letter)) {
            continue;
        }
        const std::string_view ending = std::string_view(folded).substr(prefix.letter.size());
        for (const std::string_view accepted : kEndings) {
            if (ending == accepted) {
                return prefix.power;
            }
        }
    }
    return -1;
}

std::string fixed2(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.2f", value);
    return text;
}

} // namespace

int exactnessOfSizeText(std::string_view text, int inBytes) {
    const std::size_t start = text.find_first_not_of(' ');
    const std::size_t end = text.find_first_not_of("0123456789.,", std::min(start, text.size()));
    const std::string_view number =
        start == std::string_view::npos ? std::string_view() : text.substr(start, end - start);
    if (text.find_first_not_of(' ', std::min(end, text.size())) == std::string_view::npos) {
        return inBytes;
    }
    const std::size_t point = number.find_first_of(".,");
    return point == std::string_view::npos ? 0 : static_cast<int>(number.size() - point - 1);
}

std::int64_t bytesOfSizeText(std::string_view text) {
    std::size_t at = 0;
    while (at < text.size() && text[at] == ' ') {
        ++at;
    }
    double whole = 0;
    double fraction = 0;
    double scale = 1;
    bool digits = false;
    bool point = false;
    for (; at < text.size(); ++at) {
        const char c = text[at];
        if (c >= '0' && c <= '9') {
            digits = true;
            if (point) {
                scale /= 10;
                fraction += (c - '0') * scale;
            } else if (whole < 1e15) {
                whole = whole * 10 + (c - '0');
            } else {
                return -1;
            }
        } else if ((c == '.' || c == ',') && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (!digits) {
        return -1;
    }
    std::string_view unit = text.substr(at);
    while (!unit.empty() && (unit.front() == ' ' || unit.starts_with(kNoBreakSpace))) {
        unit.remove_prefix(unit.front() == ' ' ? 1 : kNoBreakSpace.size());
    }
    while (!unit.empty() && unit.back() == ' ') {
        unit.remove_suffix(1);
    }
    const int power = unitPower(unit);
    if (power < 0) {
        return -1;
    }
    const double bytes = (whole + fraction) * std::pow(kKiB, power);
    if (!(bytes < 9.0e18)) {
        return -1;
    }
    return static_cast<std::int64_t>(std::llround(bytes));
}

std::string rowSizeText(std::int64_t bytes) {
    if (bytes < 0) {
        return "?";
    }
    const auto value = static_cast<double>(bytes);
    if (value >= kGiB) {
        return fixed2(value / kGiB) + std::string(kNoBreakSpace) + "GB";
    }
    if (value >= kMiB) {
        return fixed2(value / kMiB) + " MB";
    }
    return fixed2(value / kKiB) + " kB";
}

std::string pageSizeText(std::int64_t bytes) {
    if (bytes < 0) {
        return {};
    }
    std::string row = rowSizeText(bytes);
    if (const std::size_t space = row.find(kNoBreakSpace); space != std::string::npos) {
        row.replace(space, kNoBreakSpace.size(), " ");
    }
    std::string digits = std::to_string(bytes);
    for (std::size_t i = digits.size(); i > 3; i -= 3) {
        digits.insert(i - 3, ",");
    }
    return row + " (" + digits + " Bytes)";
}

} // namespace qb::service
