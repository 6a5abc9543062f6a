#include "merging.h"

#include "source_answer.h"

#include <algorithm>
#include <unordered_map>

namespace qb::service {

namespace {

constexpr std::int64_t kDay = 24 * 60 * 60;

template <typename T> void takeIfMissing(T& have, const T& offered, const T& missing) {
    if (have == missing) {
        have = offered;
    }
}

void combine(Release& have, const Release& more) {
    takeIfMissing(have.title, more.title, std::string());
    // The most exact size, whichever source answered first: an indexer's count of bytes beats
    // TorrServer's rounded texts, two decimals beat one.
    if (more.sizeBytes >= 0 && (have.sizeBytes < 0 || more.sizeExactness > have.sizeExactness)) {
        have.sizeBytes = more.sizeBytes;
        have.sizeExactness = more.sizeExactness;
    }
    have.seeders = std::max(have.seeders, more.seeders);
    have.leechers = std::max(have.leechers, more.leechers);
    takeIfMissing(have.published, more.published, std::int64_t{0});
    for (const int category : more.categories) {
        if (have.categories.size() < kMostCategories &&
            std::find(have.categories.begin(), have.categories.end(), category) ==
                have.categories.end()) {
            have.categories.push_back(category);
        }
    }
    takeIfMissing(have.sourceCategory, more.sourceCategory, std::string());
    takeIfMissing(have.genre, more.genre, std::string());
    takeIfMissing(have.poster, more.poster, std::string());
    have.files = std::max(have.files, more.files);
    for (const std::string& tracker : more.trackers) {
        if (have.trackers.size() < kMostTrackers &&
            std::find(have.trackers.begin(), have.trackers.end(), tracker) == have.trackers.end()) {
            have.trackers.push_back(tracker);
        }
    }
    takeIfMissing(have.description, more.description, std::string());
    takeIfMissing(have.year, more.year, 0);
}

} // namespace

void mergeInto(std::vector<Release>& merged, std::vector<Release> more) {
    std::unordered_map<std::string, std::size_t> at;
    at.reserve(merged.size() + more.size());
    for (std::size_t i = 0; i < merged.size(); ++i) {
        at.emplace(merged[i].hash, i);
    }
    for (Release& release : more) {
        if (const auto found = at.find(release.hash); found != at.end()) {
            combine(merged[found->second], release);
        } else {
            at.emplace(release.hash, merged.size());
            merged.push_back(std::move(release));
        }
    }
}

void sortBySeeders(std::vector<Release>& releases) {
    std::stable_sort(releases.begin(), releases.end(),
                     [](const Release& a, const Release& b) { return a.seeders > b.seeders; });
}

void sortByDate(std::vector<Release>& releases) {
    std::stable_sort(releases.begin(), releases.end(),
                     [](const Release& a, const Release& b) { return a.published > b.published; });
}

std::vector<Release> topOfTheDay(std::vector<Release> releases, std::int64_t now) {
    std::vector<Release> recent;
    for (const Release& release : releases) {
        if (release.published > 0 && release.published > now - kDay &&
            release.published <= now + kDay) {
            recent.push_back(release);
        }
    }
    std::vector<Release>& chosen = recent.empty() ? releases : recent;
    sortBySeeders(chosen);
    return std::move(chosen);
}

} // namespace qb::service
