#pragma once

#include "core/release.h"

#include <string>

namespace qb::service::test {

inline constexpr const char* kTrackerDomain = "tracker.example";

// A release as a Torznab indexer describes one, with a hash of the given digit.
inline Release sampleRelease(std::string title, char digit = 'a', int seeders = 10) {
    Release release;
    release.hash = std::string(40, digit);
    release.title = std::move(title);
    release.sizeBytes = 10'987'654'321;
    release.seeders = seeders;
    release.leechers = 3;
    release.published = 1'714'000'000; // 24 Apr 2024
    release.categories = {2000, 2040};
    release.trackers = {"http://bt.example/announce?k=Up PDF", "udp://open.example:6969"};
    release.source = "Test indexer";
    return release;
}

} // namespace qb::service::test
