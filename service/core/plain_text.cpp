#include "plain_text.h"

#include <algorithm>
#include <cstdint>

namespace qb::service {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// The code point at `at`, advancing past it; an invalid or cut sequence counts as one byte
// of U+FFFD.
char32_t nextCodePoint(std::string_view text, std::size_t& at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    if (lead < 0x80) {
        ++at;
        return lead;
    }
    int length = 0;
    char32_t value = 0;
    char32_t least = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2;
        value = lead & 0x1F;
        least = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        value = lead & 0x0F;
        least = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        value = lead & 0x07;
        least = 0x10000;
    } else {
        ++at;
        return kReplacement;
    }
    if (at + static_cast<std::size_t>(length) > text.size()) {
        ++at;
        return kReplacement;
    }
    for (int i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[at + static_cast<std::size_t>(i)]);
        if ((next & 0xC0) != 0x80) {
            ++at;
            return kReplacement;
        }
        value = (value << 6) | (next & 0x3F);
    }
    if (value < least || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
        ++at;
        return kReplacement;
    }
    at += static_cast<std::size_t>(length);
    return value;
}

void append(std::string& out, char32_t c) {
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

// Characters that would break a line or a row of a page, or that the client's reading of a
// row drops (the no-break space), all count as a blank.
bool isBlank(char32_t c) {
    return c <= 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0xA0 || c == 0x2028 || c == 0x2029 ||
           c == 0xFEFF || c == 0x85;
}

char32_t lowerCase(char32_t c) {
    if (c >= U'A' && c <= U'Z') {
        return c + 0x20;
    }
    if (c >= 0x410 && c <= 0x42F) { // А-Я
        return c + 0x20;
    }
    if (c == 0x401 || c == 0x451) { // Ё, ё
        return 0x435;
    }
    return c;
}

bool isCyrillic(char32_t c) {
    return (c >= 0x410 && c <= 0x44F) || c == 0x401 || c == 0x451;
}

bool isLatin(char32_t c) {
    return (c >= U'A' && c <= U'Z') || (c >= U'a' && c <= U'z');
}

template <typename Test> bool anyCodePoint(std::string_view text, Test test) {
    for (std::size_t at = 0; at < text.size();) {
        if (test(nextCodePoint(text, at))) {
            return true;
        }
    }
    return false;
}

struct Entity {
    std::string_view name;
    char32_t value;
};
constexpr Entity kEntities[] = {{"amp", U'&'},  {"lt", U'<'},    {"gt", U'>'},
                                {"quot", U'"'}, {"apos", U'\''}, {"nbsp", 0xA0}};

// An entity at `at` ("&name;" or "&#N;" or "&#xN;"), advancing past it; nothing read leaves
// `at` where it was.
bool readEntity(std::string_view text, std::size_t& at, char32_t& value) {
    const std::size_t end = text.find(';', at);
    if (end == std::string_view::npos || end - at > 10) {
        return false;
    }
    const std::string_view name = text.substr(at + 1, end - at - 1);
    if (name.size() > 1 && name[0] == '#') {
        const bool hex = name[1] == 'x' || name[1] == 'X';
        const std::string_view digits = name.substr(hex ? 2 : 1);
        std::uint32_t number = 0;
        if (digits.empty()) {
            return false;
        }
        for (const char d : digits) {
            int digit = -1;
            if (d >= '0' && d <= '9') {
                digit = d - '0';
            } else if (hex && d >= 'a' && d <= 'f') {
                digit = d - 'a' + 10;
            } else if (hex && d >= 'A' && d <= 'F') {
                digit = d - 'A' + 10;
            }
            if (digit < 0) {
                return false;
            }
            number = number * (hex ? 16 : 10) + static_cast<std::uint32_t>(digit);
        }
        value = number > 0x10FFFF || (number >= 0xD800 && number <= 0xDFFF) ? kReplacement : number;
        at = end + 1;
        return true;
    }
    for (const Entity& entity : kEntities) {
        if (name == entity.name) {
            value = entity.value;
            at = end + 1;
            return true;
        }
    }
    return false;
}

} // namespace

std::string oneLine(std::string_view text, std::size_t maxChars) {
    std::string out;
    out.reserve(std::min(text.size(), maxChars * 2));
    std::size_t count = 0;
    bool pendingBlank = false;
    for (std::size_t at = 0; at < text.size() && count < maxChars;) {
        const char32_t c = nextCodePoint(text, at);
        if (isBlank(c)) {
            pendingBlank = !out.empty();
            continue;
        }
        if (pendingBlank) {
            out.push_back(' ');
            ++count;
            pendingBlank = false;
            if (count == maxChars) {
                break;
            }
        }
        append(out, c);
        ++count;
    }
    while (!out.empty() && out.back() == ' ') {
        out.pop_back();
    }
    return out;
}

std::string withoutMarkup(std::string_view text, std::size_t maxChars) {
    std::string plain;
    plain.reserve(text.size());
    bool inTag = false;
    for (std::size_t at = 0; at < text.size();) {
        const char c = text[at];
        if (inTag) {
            inTag = c != '>';
            ++at;
        } else if (c == '<') {
            inTag = true;
            plain.push_back(' ');
            ++at;
        } else if (char32_t value = 0; c == '&' && readEntity(text, at, value)) {
            append(plain, value);
        } else {
            plain.push_back(c);
            ++at;
        }
    }
    return oneLine(plain, maxChars);
}

namespace {
std::string escaped(std::string_view text, bool quotes) {
    std::string out;
    out.reserve(text.size() + text.size() / 8);
    for (const char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += quotes ? "&quot;" : "\"";
            break;
        default:
            out.push_back(c);
        }
    }
    return out;
}
} // namespace

std::string escapeHtml(std::string_view text) {
    return escaped(text, false);
}

std::string escapeHtmlQuoted(std::string_view text) {
    return escaped(text, true);
}

std::string foldedCase(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        append(out, lowerCase(nextCodePoint(text, at)));
    }
    return out;
}

bool hasCyrillic(std::string_view text) {
    return anyCodePoint(text, isCyrillic);
}

bool hasLatin(std::string_view text) {
    return anyCodePoint(text, isLatin);
}

bool startsWithNoCase(std::string_view text, std::string_view start) {
    if (text.size() < start.size()) {
        return false;
    }
    for (std::size_t i = 0; i < start.size(); ++i) {
        const char c = text[i] >= 'A' && text[i] <= 'Z' ? static_cast<char>(text[i] + 32) : text[i];
        if (c != start[i]) {
            return false;
        }
    }
    return true;
}

} // namespace qb::service
