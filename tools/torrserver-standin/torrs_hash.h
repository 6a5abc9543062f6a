#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace torrserver {

// Today's server's "torrs_hash" token of a torrent: the info-hash and the title, poster,
// category, size and trackers, zlib-compressed and written in base 62. zlib's own compressor
// writes other bytes than Go's, so the token differs from the real server's, but it unpacks
// to the same fields.
std::string torrsHash(const std::string& hexHash, const std::string& title,
                      const std::string& poster, const std::string& category, std::int64_t size,
                      const std::vector<std::string>& trackers);

// Base 62 ("0-9A-Za-z") of a big-endian number, as Go's big.Int gives it ("" for zero).
std::string base62(const std::string& bytes);

} // namespace torrserver
