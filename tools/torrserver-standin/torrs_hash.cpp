#include "torrs_hash.h"

#include <zlib.h>

namespace torrserver {

namespace {
enum Tag : unsigned char { Title = 0, Poster = 1, Tracker = 2, Category = 3, Size = 4 };

std::string trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r\n\v\f");
    if (first == std::string::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t\r\n\v\f") - first + 1);
}

void addText(std::string& out, Tag tag, const std::string& text) {
    const std::string value = trimmed(text);
    if (value.empty()) {
        return;
    }
    const auto length = static_cast<std::uint16_t>(value.size());
    out.push_back(static_cast<char>(tag));
    out.push_back(static_cast<char>(length & 0xff));
    out.push_back(static_cast<char>(length >> 8));
    out += value.substr(0, length);
}

void addSize(std::string& out, std::int64_t size) {
    if (size == 0) {
        return;
    }
    out.push_back(static_cast<char>(Size));
    const auto value = static_cast<std::uint64_t>(size);
    for (int i = 0; i < 8; ++i) {
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xff));
    }
}

std::string hexBytes(const std::string& hex) {
    std::string out;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
        out.push_back(static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16)));
    }
    return out;
}
} // namespace

std::string base62(const std::string& bytes) {
    static const char* const kAlphabet =
        "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    std::vector<unsigned> number(bytes.begin(), bytes.end());
    for (unsigned& digit : number) {
        digit &= 0xff;
    }
    std::string out;
    while (!number.empty()) {
        unsigned remainder = 0;
        std::vector<unsigned> quotient;
        for (const unsigned digit : number) {
            const unsigned value = remainder * 256 + digit;
            if (!quotient.empty() || value / 62 != 0) {
                quotient.push_back(value / 62);
            }
            remainder = value % 62;
        }
        out.insert(out.begin(), kAlphabet[remainder]);
        number = std::move(quotient);
    }
    // A number whose leading bytes were zero has no leading "0" digits either.
    const auto first = out.find_first_not_of('0');
    return first == std::string::npos ? std::string() : out.substr(first);
}

std::string torrsHash(const std::string& hexHash, const std::string& title,
                      const std::string& poster, const std::string& category, std::int64_t size,
                      const std::vector<std::string>& trackers) {
    std::string plain = hexBytes(hexHash);
    addText(plain, Title, title);
    addText(plain, Poster, poster);
    addText(plain, Category, category);
    addSize(plain, size);
    for (const std::string& tracker : trackers) {
        addText(plain, Tracker, tracker);
    }
    uLongf length = compressBound(static_cast<uLong>(plain.size()));
    std::string packed(length, '\0');
    if (compress2(reinterpret_cast<Bytef*>(packed.data()), &length,
                  reinterpret_cast<const Bytef*>(plain.data()), static_cast<uLong>(plain.size()),
                  Z_BEST_COMPRESSION) != Z_OK) {
        return {};
    }
    packed.resize(length);
    return base62(packed);
}

} // namespace torrserver
