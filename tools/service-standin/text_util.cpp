#include "text_util.h"

namespace qb::standin {

std::string lowerUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        auto c = static_cast<unsigned char>(text[i]);
        if (c >= 'A' && c <= 'Z') {
            out += static_cast<char>(c + 32);
            continue;
        }
        if ((c == 0xD0) && i + 1 < text.size()) {
            auto d = static_cast<unsigned char>(text[i + 1]);
            if (d >= 0x90 && d <= 0x9F) { // А..П -> а..п
                out += '\xD0';
                out += static_cast<char>(d + 0x20);
                ++i;
                continue;
            }
            if (d >= 0xA0 && d <= 0xAF) { // Р..Я -> р..я
                out += '\xD1';
                out += static_cast<char>(d - 0x20);
                ++i;
                continue;
            }
            if (d == 0x81) { // Ё -> ё
                out += "\xD1\x91";
                ++i;
                continue;
            }
        }
        out += static_cast<char>(c);
    }
    return out;
}

std::string searchKey(std::string_view text) {
    std::string key;
    bool blank = false;
    for (char c : lowerUtf8(text)) {
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
            blank = !key.empty();
            continue;
        }
        if (blank)
            key += ' ';
        blank = false;
        key += c;
    }
    return key;
}

void replaceAll(std::string& text, std::string_view from, std::string_view to) {
    if (from.empty())
        return;
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at)) {
        text.replace(at, from.size(), to);
        at += to.size();
    }
}

bool isDecimal(std::string_view text) {
    if (text.empty() || text.size() > 18)
        return false;
    for (char c : text)
        if (c < '0' || c > '9')
            return false;
    return true;
}

} // namespace qb::standin
