#pragma once

#include "release.h"

#include <cstdint>
#include <vector>

// Results of several sources as one list.
namespace qb::service {

// Adds `more` to `merged`, one release per info-hash: a release already there keeps its place
// and takes from the newcomer what it lacked (and the higher counts, since sources see the
// swarm at different times).
void mergeInto(std::vector<Release>& merged, std::vector<Release> more);

// Most seeders first; equal ones in the order they came.
void sortBySeeders(std::vector<Release>& releases);

// Newest first; equal ones (and undated ones, last) in the order they came.
void sortByDate(std::vector<Release>& releases);

// The top of the last 24 hours: the releases published within a day of `now`, most seeders
// first; when the sources dated none of them so, all of them, most seeders first.
std::vector<Release> topOfTheDay(std::vector<Release> releases, std::int64_t now);

} // namespace qb::service
