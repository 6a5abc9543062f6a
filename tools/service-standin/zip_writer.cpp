#include "zip_writer.h"

#include <cstdint>

namespace qb::standin {

namespace {

void put16(std::string& out, uint32_t v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>((v >> 8) & 0xFF);
}

void put32(std::string& out, uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

// 1 January 2024, 12:00, in DOS form: a fixed stamp keeps the archive byte-identical.
constexpr uint32_t kDosTime = 12u << 11;
constexpr uint32_t kDosDate = ((2024u - 1980u) << 9) | (1u << 5) | 1u;

} // namespace

unsigned long crc32Of(const std::string& data) {
    uint32_t crc = 0xFFFFFFFFu;
    for (unsigned char byte : data) {
        crc ^= byte;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return crc ^ 0xFFFFFFFFu;
}

std::string makeStoredZip(const std::vector<std::pair<std::string, std::string>>& entries) {
    std::string out;
    std::string central;
    for (const auto& [name, data] : entries) {
        const auto crc = static_cast<uint32_t>(crc32Of(data));
        const auto size = static_cast<uint32_t>(data.size());
        const auto offset = static_cast<uint32_t>(out.size());
        put32(out, 0x04034B50); // local file header
        put16(out, 10);         // version needed
        put16(out, 0x0800);     // flags: names are UTF-8
        put16(out, 0);          // stored
        put16(out, kDosTime);
        put16(out, kDosDate);
        put32(out, crc);
        put32(out, size);
        put32(out, size);
        put16(out, static_cast<uint32_t>(name.size()));
        put16(out, 0);
        out += name;
        out += data;

        put32(central, 0x02014B50); // central directory header
        put16(central, 0x031E);     // made by: Unix, 3.0
        put16(central, 10);
        put16(central, 0x0800);
        put16(central, 0);
        put16(central, kDosTime);
        put16(central, kDosDate);
        put32(central, crc);
        put32(central, size);
        put32(central, size);
        put16(central, static_cast<uint32_t>(name.size()));
        put16(central, 0); // extra
        put16(central, 0); // comment
        put16(central, 0); // disk
        put16(central, 0); // internal attributes
        put32(central, 0100644u << 16);
        put32(central, offset);
        central += name;
    }
    const auto centralOffset = static_cast<uint32_t>(out.size());
    out += central;
    put32(out, 0x06054B50); // end of central directory
    put16(out, 0);
    put16(out, 0);
    put16(out, static_cast<uint32_t>(entries.size()));
    put16(out, static_cast<uint32_t>(entries.size()));
    put32(out, static_cast<uint32_t>(central.size()));
    put32(out, centralOffset);
    put16(out, 0);
    return out;
}

} // namespace qb::standin
