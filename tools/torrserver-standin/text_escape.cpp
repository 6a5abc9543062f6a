#include "text_escape.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <nlohmann/json.hpp>

namespace torrserver {

std::string queryEscape(std::string_view text) {
    static const char* const kHex = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size() * 3);
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (std::isalnum(u) != 0 || c == '-' || c == '_' || c == '.' || c == '~') {
            out.push_back(c);
        } else if (c == ' ') {
            out.push_back('+');
        } else {
            out.push_back('%');
            out.push_back(kHex[u >> 4]);
            out.push_back(kHex[u & 15]);
        }
    }
    return out;
}

std::string pathEscape(std::string_view text) {
    static const char* const kHex = "0123456789ABCDEF";
    static constexpr std::string_view kKept = "-_.~$&+:=@";
    std::string out;
    out.reserve(text.size() * 3);
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (std::isalnum(u) != 0 || kKept.find(c) != std::string_view::npos) {
            out.push_back(c);
        } else {
            out.push_back('%');
            out.push_back(kHex[u >> 4]);
            out.push_back(kHex[u & 15]);
        }
    }
    return out;
}

std::string queryUnescape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '+') {
            out.push_back(' ');
        } else if (text[i] == '%' && i + 2 < text.size() &&
                   std::isxdigit(static_cast<unsigned char>(text[i + 1])) != 0 &&
                   std::isxdigit(static_cast<unsigned char>(text[i + 2])) != 0) {
            out.push_back(
                static_cast<char>(std::stoi(std::string(text.substr(i + 1, 2)), nullptr, 16)));
            i += 2;
        } else {
            out.push_back(text[i]);
        }
    }
    return out;
}

std::vector<std::string_view> queryPairs(std::string_view target) {
    std::vector<std::string_view> pairs;
    const auto mark = target.find('?');
    std::string_view query =
        mark == std::string_view::npos ? std::string_view() : target.substr(mark + 1);
    while (!query.empty()) {
        const auto amp = query.find('&');
        if (amp != 0) {
            pairs.push_back(query.substr(0, amp));
        }
        query = amp == std::string_view::npos ? std::string_view() : query.substr(amp + 1);
    }
    return pairs;
}

std::optional<std::string> queryParam(std::string_view target, std::string_view name) {
    for (const std::string_view pair : queryPairs(target)) {
        const auto eq = pair.find('=');
        if (queryUnescape(pair.substr(0, eq)) == name) {
            return eq == std::string_view::npos ? std::string()
                                                : queryUnescape(pair.substr(eq + 1));
        }
    }
    return std::nullopt;
}

std::string cleanName(std::string_view text) {
    static constexpr std::string_view kReplaced = " !*'();:@&=+$,/?#[]~\"";
    std::string replaced(text);
    for (char& c : replaced) {
        if (kReplaced.find(c) != std::string_view::npos) {
            c = '_';
        }
    }
    std::string out;
    out.reserve(replaced.size());
    for (std::size_t i = 0; i < replaced.size(); ++i) {
        out.push_back(replaced[i]);
        if (replaced[i] == '_' && i + 1 < replaced.size() && replaced[i + 1] == '_') {
            ++i;
        }
    }
    return out;
}

std::string toLower(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

bool equalsIgnoreCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && toLower(a) == toLower(b);
}

std::string extensionOf(std::string_view path) {
    const auto slash = path.find_last_of('/');
    const auto dot = path.find_last_of('.');
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash)) {
        return {};
    }
    return toLower(path.substr(dot));
}

namespace {
struct MimeEntry {
    std::string_view extension;
    std::string_view type;
    bool media;
};

constexpr std::array kMimeTable{
    MimeEntry{".mkv", "video/x-matroska", true},
    MimeEntry{".mp4", "video/mp4", true},
    MimeEntry{".m4v", "video/x-m4v", true},
    MimeEntry{".avi", "video/x-msvideo", true},
    MimeEntry{".mov", "video/quicktime", true},
    MimeEntry{".wmv", "video/x-ms-wmv", true},
    MimeEntry{".webm", "video/webm", true},
    MimeEntry{".ts", "video/mp2t", true},
    MimeEntry{".m2ts", "video/mp2t", true},
    MimeEntry{".mpg", "video/mpeg", true},
    MimeEntry{".mpeg", "video/mpeg", true},
    MimeEntry{".flv", "video/x-flv", true},
    MimeEntry{".3gp", "video/3gpp", true},
    MimeEntry{".ogv", "video/ogg", true},
    MimeEntry{".vob", "video/dvd", true},
    MimeEntry{".mp3", "audio/mpeg", true},
    MimeEntry{".flac", "audio/flac", true},
    MimeEntry{".m4a", "audio/mp4", true},
    MimeEntry{".aac", "audio/aac", true},
    MimeEntry{".ogg", "audio/ogg", true},
    MimeEntry{".opus", "audio/ogg", true},
    MimeEntry{".wav", "audio/x-wav", true},
    MimeEntry{".wma", "audio/x-ms-wma", true},
    MimeEntry{".ape", "audio/ape", true},
    MimeEntry{".srt", "application/x-subrip", false},
    MimeEntry{".txt", "text/plain; charset=utf-8", false},
    MimeEntry{".jpg", "image/jpeg", false},
    MimeEntry{".png", "image/png", false},
};

const MimeEntry* findMime(std::string_view path) {
    const std::string ext = extensionOf(path);
    for (const MimeEntry& entry : kMimeTable) {
        if (entry.extension == ext) {
            return &entry;
        }
    }
    return nullptr;
}
} // namespace

bool isMediaFile(std::string_view path) {
    const MimeEntry* entry = findMime(path);
    return entry != nullptr && entry->media;
}

std::string mimeTypeOf(std::string_view path) {
    const MimeEntry* entry = findMime(path);
    return entry != nullptr ? std::string(entry->type) : "application/octet-stream";
}

bool isHexHash(std::string_view text) {
    return text.size() == 40 && std::all_of(text.begin(), text.end(), [](char c) {
               return std::isxdigit(static_cast<unsigned char>(c)) != 0;
           });
}

std::string base64Encode(std::string_view bytes) {
    static const char* const kAlphabet =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    std::size_t i = 0;
    for (; i + 2 < bytes.size(); i += 3) {
        const auto n = (static_cast<unsigned char>(bytes[i]) << 16) |
                       (static_cast<unsigned char>(bytes[i + 1]) << 8) |
                       static_cast<unsigned char>(bytes[i + 2]);
        out += {kAlphabet[(n >> 18) & 63], kAlphabet[(n >> 12) & 63], kAlphabet[(n >> 6) & 63],
                kAlphabet[n & 63]};
    }
    if (i + 1 == bytes.size()) {
        const auto n = static_cast<unsigned char>(bytes[i]) << 16;
        out += {kAlphabet[(n >> 18) & 63], kAlphabet[(n >> 12) & 63], '=', '='};
    } else if (i + 2 == bytes.size()) {
        const auto n = (static_cast<unsigned char>(bytes[i]) << 16) |
                       (static_cast<unsigned char>(bytes[i + 1]) << 8);
        out +=
            {kAlphabet[(n >> 18) & 63], kAlphabet[(n >> 12) & 63], kAlphabet[(n >> 6) & 63], '='};
    }
    return out;
}

std::string htmlEscape(std::string_view text) {
    std::string out;
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
            out += "&quot;";
            break;
        default:
            out.push_back(c);
        }
    }
    return out;
}

std::string hexText(std::string_view bytes) {
    static const char* const kHex = "0123456789abcdef";
    std::string out;
    out.reserve(bytes.size() * 2);
    for (const char c : bytes) {
        out.push_back(kHex[static_cast<unsigned char>(c) >> 4]);
        out.push_back(kHex[static_cast<unsigned char>(c) & 15]);
    }
    return out;
}

std::string validUtf8(std::string_view bytes) {
    // The JSON writer's replacing mode does the validation; strip the quotes it adds.
    const std::string quoted = nlohmann::json(std::string(bytes))
                                   .dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
    return nlohmann::json::parse(quoted).get<std::string>();
}

} // namespace torrserver
