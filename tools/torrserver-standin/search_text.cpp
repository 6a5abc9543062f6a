#include "search_text.h"

#include <algorithm>
#include <iterator>
#include <numeric>

namespace torrserver {

namespace {
constexpr std::string_view kStopWords[] = {
    "a",  "am", "an", "and", "are", "as", "at", "be", "by",     "did", "do",   "is", "of",
    "or", "s",  "so", "t",   "и",   "в",  "с",  "со", "а",      "но",  "к",    "у",  "же",
    "бы", "по", "от", "о",   "из",  "ну", "ли", "ни", "нибудь", "уж",  "ведь", "ж",  "об"};

// Lower case of the letters the releases use: Latin, Latin-1, Greek and Cyrillic.
char32_t lower(char32_t c) {
    if ((c >= U'A' && c <= U'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7) ||
        (c >= 0x391 && c <= 0x3AB && c != 0x3A2)) {
        return c + 32;
    }
    if (c >= 0x410 && c <= 0x42F) {
        return c + 32;
    }
    if (c >= 0x400 && c <= 0x40F) {
        return c + 80;
    }
    return c;
}

// Letters and digits, as far as release titles need: ASCII ones, and every code point from
// Latin-1's letters on but the general punctuation, symbols and spaces of Unicode.
bool letterOrDigit(char32_t c) {
    if (c < 0x80) {
        return (c >= U'0' && c <= U'9') || (c >= U'a' && c <= U'z') || (c >= U'A' && c <= U'Z');
    }
    if (c < 0xC0) {
        return c == 0xAA || c == 0xB5 || c == 0xBA || c == 0xB2 || c == 0xB3 || c == 0xB9 ||
               (c >= 0xBC && c <= 0xBE);
    }
    if (c == 0xD7 || c == 0xF7) {
        return false;
    }
    return !(c >= 0x2000 && c <= 0x2BFF) && !(c >= 0x3000 && c <= 0x303F) && c != 0xFEFF &&
           c != 0xFFFD && !(c >= 0xFE30 && c <= 0xFE4F) && !(c >= 0xFF00 && c <= 0xFF0F);
}
} // namespace

std::u32string codePoints(std::string_view text) {
    std::u32string out;
    for (std::size_t i = 0; i < text.size();) {
        const auto byte = static_cast<unsigned char>(text[i]);
        int length = byte < 0x80         ? 1
                     : (byte >> 5) == 6  ? 2
                     : (byte >> 4) == 14 ? 3
                     : (byte >> 3) == 30 ? 4
                                         : 0;
        char32_t c = length == 1   ? byte
                     : length == 2 ? byte & 0x1F
                     : length == 3 ? byte & 0x0F
                                   : byte & 0x07;
        bool ok = length > 0 && i + static_cast<std::size_t>(length) <= text.size();
        for (int k = 1; ok && k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]);
            ok = (next >> 6) == 2;
            c = (c << 6) | (next & 0x3F);
        }
        ok = ok && c <= 0x10FFFF && !(c >= 0xD800 && c <= 0xDFFF) && !(length == 2 && c < 0x80) &&
             !(length == 3 && c < 0x800) && !(length == 4 && c < 0x10000);
        out.push_back(ok ? c : U'\uFFFD');
        i += ok ? static_cast<std::size_t>(length) : 1;
    }
    return out;
}

std::string utf8Of(const std::u32string& text) {
    std::string out;
    for (const char32_t c : text) {
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
    return out;
}

std::vector<std::string> searchTokens(std::string_view text) {
    std::vector<std::string> tokens;
    std::u32string word;
    const auto flush = [&] {
        if (word.empty()) {
            return;
        }
        const std::string token = utf8Of(word);
        if (std::find(std::begin(kStopWords), std::end(kStopWords), token) ==
            std::end(kStopWords)) {
            tokens.push_back(token);
        }
        word.clear();
    };
    for (const char32_t c : codePoints(text)) {
        if (!letterOrDigit(c)) {
            flush();
            continue;
        }
        const char32_t l = lower(c);
        word.push_back(l == U'ё' ? U'е' : l);
    }
    flush();
    return tokens;
}

std::u32string clearedText(std::string_view text) {
    std::u32string out;
    for (const char32_t c : codePoints(text)) {
        const char32_t l = lower(c);
        if ((l >= U'0' && l <= U'9') || (l >= U'a' && l <= U'z') || (l >= U'а' && l <= U'я') ||
            l == U'ё') {
            out.push_back(l);
        }
    }
    return out;
}

std::size_t levenshtein(const std::u32string& a, const std::u32string& b) {
    std::vector<std::size_t> row(b.size() + 1);
    std::iota(row.begin(), row.end(), std::size_t{0});
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t above = row[j];
            row[j] =
                std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

} // namespace torrserver
