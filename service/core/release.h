#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qb::service {

inline constexpr int kSizeInBytes = 100;

// One release as a source describes it, in the service's own terms. Texts are plain UTF-8
// (never markup); numbers that the source did not give are -1 (0 for dates and years).
struct Release {
    std::string hash;  // the info-hash: 40 lower-case hexadecimal digits
    std::string title; // one line, no control characters
    std::int64_t sizeBytes = -1;
    // How exact the size is: kSizeInBytes for a count of bytes (an indexer's), else the number
    // of decimals of the size text it was read from (TorrServer's "7.95 GB", "4.4 GCiB").
    int sizeExactness = kSizeInBytes;
    int seeders = -1;
    int leechers = -1;
    std::int64_t published = 0;  // seconds since the epoch
    std::vector<int> categories; // Torznab (Newznab) category numbers
    std::string sourceCategory;  // TorrServer's own word: "Movie", "Series", ...
    std::string genre;
    std::string poster;                // an http(s) address that needs no escaping, or empty
    int files = -1;                    // the number of files of the torrent
    std::vector<std::string> trackers; // announce addresses, decoded
    std::string description;
    std::string source; // which source told of it, for the log and the page
    int year = 0;
};

} // namespace qb::service
