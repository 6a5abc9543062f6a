#include "release_store.h"

#include "magnet.h"
#include "plain_text.h"
#include "poster_address.h"
#include "source_answer.h"
#include "torrserver_answer.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <vector>

namespace qb::service {

namespace {

constexpr int kStateVersion = 1;
constexpr int kDeepestState = 8;

template <typename T> void keepIfMissing(T& fresh, const T& before, const T& missing) {
    if (fresh == missing) {
        fresh = before;
    }
}

// What a new answer says, with what it leaves out kept from before.
Release refreshed(Release fresh, const Release& before) {
    keepIfMissing(fresh.title, before.title, std::string());
    keepIfMissing(fresh.sizeBytes, before.sizeBytes, std::int64_t{-1});
    keepIfMissing(fresh.seeders, before.seeders, -1);
    keepIfMissing(fresh.leechers, before.leechers, -1);
    keepIfMissing(fresh.published, before.published, std::int64_t{0});
    keepIfMissing(fresh.categories, before.categories, std::vector<int>());
    keepIfMissing(fresh.sourceCategory, before.sourceCategory, std::string());
    keepIfMissing(fresh.genre, before.genre, std::string());
    keepIfMissing(fresh.poster, before.poster, std::string());
    keepIfMissing(fresh.files, before.files, -1);
    keepIfMissing(fresh.trackers, before.trackers, std::vector<std::string>());
    keepIfMissing(fresh.description, before.description, std::string());
    keepIfMissing(fresh.source, before.source, std::string());
    keepIfMissing(fresh.year, before.year, 0);
    return fresh;
}

nlohmann::json stateOf(std::uint32_t id, const Release& r, std::int64_t lastUse) {
    return {{"id", id},
            {"hash", r.hash},
            {"title", r.title},
            {"size", r.sizeBytes},
            {"seeders", r.seeders},
            {"leechers", r.leechers},
            {"published", r.published},
            {"categories", r.categories},
            {"sourceCategory", r.sourceCategory},
            {"genre", r.genre},
            {"poster", r.poster},
            {"files", r.files},
            {"trackers", r.trackers},
            {"description", r.description},
            {"source", r.source},
            {"year", r.year},
            {"lastUse", lastUse}};
}

std::string textAt(const nlohmann::json& entry, const char* key, std::size_t longest) {
    const auto found = entry.find(key);
    return found != entry.end() && found->is_string() ? oneLine(found->get<std::string>(), longest)
                                                      : std::string();
}

std::int64_t numberAt(const nlohmann::json& entry, const char* key, std::int64_t least,
                      std::int64_t most, std::int64_t otherwise) {
    const auto found = entry.find(key);
    if (found == entry.end() || !found->is_number_integer()) {
        return otherwise;
    }
    const auto value = found->get<std::int64_t>();
    return value >= least && value <= most ? value : otherwise;
}

std::optional<Release> releaseOfState(const nlohmann::json& entry) {
    const auto hash = normalisedHash(textAt(entry, "hash", 40));
    if (!hash) {
        return std::nullopt;
    }
    Release r;
    r.hash = *hash;
    r.title = textAt(entry, "title", kLongestTitle);
    r.sizeBytes = numberAt(entry, "size", 0, INT64_MAX, -1);
    r.seeders = static_cast<int>(numberAt(entry, "seeders", 0, 100'000'000, -1));
    r.leechers = static_cast<int>(numberAt(entry, "leechers", 0, 100'000'000, -1));
    r.published = numberAt(entry, "published", 0, INT64_MAX / 2, 0);
    if (const auto categories = entry.find("categories");
        categories != entry.end() && categories->is_array()) {
        for (const auto& c : *categories) {
            if (c.is_number_integer() && r.categories.size() < kMostCategories) {
                const auto value = c.get<std::int64_t>();
                if (value >= 0 && value <= 1'000'000) {
                    r.categories.push_back(static_cast<int>(value));
                }
            }
        }
    }
    r.sourceCategory = textAt(entry, "sourceCategory", kLongestShortText);
    r.genre = textAt(entry, "genre", kLongestShortText);
    const auto poster = entry.find("poster");
    if (poster != entry.end() && poster->is_string()) {
        r.poster = usablePosterAddress(poster->get<std::string>()).value_or(std::string());
    }
    r.files = static_cast<int>(numberAt(entry, "files", 0, 100'000'000, -1));
    if (const auto trackers = entry.find("trackers");
        trackers != entry.end() && trackers->is_array()) {
        for (const auto& t : *trackers) {
            if (t.is_string() && r.trackers.size() < kMostTrackers &&
                isUsableTracker(t.get<std::string>())) {
                r.trackers.push_back(t.get<std::string>());
            }
        }
    }
    r.description = textAt(entry, "description", kLongestDescription);
    r.source = textAt(entry, "source", kLongestShortText);
    r.year = static_cast<int>(numberAt(entry, "year", 1800, 3000, 0));
    return r;
}

} // namespace

std::uint32_t preferredReleaseId(std::string_view hash) {
    // FNV-1a over the hash's text: any hash spreads over the whole range.
    std::uint64_t value = 1469598103934665603ULL;
    for (const char c : hash) {
        value ^= static_cast<unsigned char>(c);
        value *= 1099511628211ULL;
    }
    return static_cast<std::uint32_t>(value % kLargestReleaseId) + 1;
}

ReleaseStore::ReleaseStore(std::size_t capacity)
    : capacity_(std::max<std::size_t>(capacity, 1)) {}

std::uint32_t ReleaseStore::remember(const Release& release, std::int64_t now) {
    if (const auto known = idOfHash_.find(release.hash); known != idOfHash_.end()) {
        Entry& entry = byId_.at(known->second);
        entry.release = refreshed(release, entry.release);
        entry.lastUse = now;
        changed_ = true;
        return known->second;
    }
    if (byId_.size() >= capacity_) {
        forgetLeastUsed();
    }
    // The preferred id, or the next free one after it: taken ids are rare among a billion.
    std::uint32_t id = preferredReleaseId(release.hash);
    while (byId_.contains(id)) {
        id = id == kLargestReleaseId ? 1 : id + 1;
    }
    add(id, release, now);
    return id;
}

std::optional<Release> ReleaseStore::recall(std::uint32_t id, std::int64_t now) {
    const auto found = byId_.find(id);
    if (found == byId_.end()) {
        return std::nullopt;
    }
    found->second.lastUse = now;
    changed_ = true;
    return found->second.release;
}

std::optional<std::uint32_t> ReleaseStore::idOfHash(const std::string& hash) const {
    const auto found = idOfHash_.find(hash);
    return found == idOfHash_.end() ? std::nullopt : std::optional(found->second);
}

void ReleaseStore::add(std::uint32_t id, Release release, std::int64_t lastUse) {
    idOfHash_.emplace(release.hash, id);
    byId_.emplace(id, Entry{std::move(release), lastUse});
    changed_ = true;
}

void ReleaseStore::forgetLeastUsed() {
    // A tenth at a time, so that a full store does not sort itself at every new release.
    std::vector<std::pair<std::int64_t, std::uint32_t>> uses;
    uses.reserve(byId_.size());
    for (const auto& [id, entry] : byId_) {
        uses.emplace_back(entry.lastUse, id);
    }
    const std::size_t forget = std::max<std::size_t>(capacity_ / 10, 1);
    std::nth_element(uses.begin(), uses.begin() + static_cast<std::ptrdiff_t>(forget - 1),
                     uses.end());
    for (std::size_t i = 0; i < forget && i < uses.size(); ++i) {
        const auto found = byId_.find(uses[i].second);
        idOfHash_.erase(found->second.release.hash);
        byId_.erase(found);
    }
    changed_ = true;
}

std::string ReleaseStore::stateText() {
    std::vector<std::uint32_t> ids;
    ids.reserve(byId_.size());
    for (const auto& [id, entry] : byId_) {
        ids.push_back(id);
    }
    std::sort(ids.begin(), ids.end());
    nlohmann::json releases = nlohmann::json::array();
    for (const std::uint32_t id : ids) {
        const Entry& entry = byId_.at(id);
        releases.push_back(stateOf(id, entry.release, entry.lastUse));
    }
    changed_ = false;
    const nlohmann::json state = {{"version", kStateVersion}, {"releases", std::move(releases)}};
    // Text that is not UTF-8 cannot come in (every text passes oneLine), but the file must be
    // written whatever happens.
    return state.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
}

ReleaseStore ReleaseStore::fromStateText(std::string_view text, std::size_t capacity,
                                         int* unreadable) {
    ReleaseStore store(capacity);
    int skipped = 0;
    const nlohmann::json state = nestsDeeperThan(text, kDeepestState)
                                     ? nlohmann::json(nlohmann::json::value_t::discarded)
                                     : nlohmann::json::parse(text, nullptr, false);
    const auto releases = state.is_object() ? state.find("releases") : state.end();
    if (!state.is_object() || releases == state.end() || !releases->is_array()) {
        skipped = text.empty() ? 0 : 1;
    } else {
        for (const nlohmann::json& entry : *releases) {
            const std::int64_t id =
                entry.is_object() ? numberAt(entry, "id", 1, kLargestReleaseId, 0) : 0;
            std::optional<Release> release =
                entry.is_object() ? releaseOfState(entry) : std::optional<Release>();
            if (id == 0 || !release || store.byId_.contains(static_cast<std::uint32_t>(id)) ||
                store.idOfHash_.contains(release->hash) || store.byId_.size() >= store.capacity_) {
                ++skipped;
                continue;
            }
            store.add(static_cast<std::uint32_t>(id), std::move(*release),
                      numberAt(entry, "lastUse", 0, INT64_MAX / 2, 0));
        }
    }
    store.changed_ = false;
    if (unreadable != nullptr) {
        *unreadable = skipped;
    }
    return store;
}

} // namespace qb::service
