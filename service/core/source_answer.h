#pragma once

#include "release.h"

#include <string>
#include <vector>

namespace qb::service {

// What one answer of a source gave: its releases, or why it gave none (for the log).
struct SourceAnswer {
    std::vector<Release> releases;
    std::string error;   // empty when the answer was read
    int withoutHash = 0; // items left out because no info-hash could be found for them
};

// Limits on what is taken from one answer, whatever the source sends.
inline constexpr std::size_t kMostReleasesPerAnswer = 1000;
inline constexpr std::size_t kLongestTitle = 300;
inline constexpr std::size_t kLongestDescription = 2000;
inline constexpr std::size_t kLongestShortText = 200;
inline constexpr std::size_t kMostTrackers = 12;
inline constexpr std::size_t kMostCategories = 16;

} // namespace qb::service
