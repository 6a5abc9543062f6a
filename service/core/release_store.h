#pragma once

#include "release.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace qb::service {

// The largest release id: ids have at most nine decimal digits, so their hexadecimal form,
// which the client puts into the magnets it adds, has at most eight.
inline constexpr std::uint32_t kLargestReleaseId = 999'999'999;

// The id a release gets unless another release already holds it: a number from 1 to
// kLargestReleaseId made from its info-hash, so the same release gets the same id on every
// machine and after the state file is lost.
std::uint32_t preferredReleaseId(std::string_view hash);

// The releases the service has listed, by id, with what it knows of each: a page can be asked
// for by id long after the search (the torrent list and the series check ask cold, also after a
// restart, through the state text). Not thread-safe.
class ReleaseStore {
public:
    static constexpr std::size_t kDefaultCapacity = 20000;

    explicit ReleaseStore(std::size_t capacity = kDefaultCapacity);

    // Takes what an answer says of a release, keeping what it leaves out from before, and
    // answers the release's id. When the store is full, the releases least recently listed or
    // asked for are forgotten.
    std::uint32_t remember(const Release& release, std::int64_t now);

    // The release of an id, marked as asked for now; nothing for an unknown id.
    std::optional<Release> recall(std::uint32_t id, std::int64_t now);

    std::optional<std::uint32_t> idOfHash(const std::string& hash) const;
    std::size_t size() const { return byId_.size(); }

    // Whether anything changed since the last stateText().
    bool changed() const { return changed_; }
    std::string stateText();

    // The store a state text describes; entries that cannot be read are left out and counted.
    static ReleaseStore fromStateText(std::string_view text, std::size_t capacity,
                                      int* unreadable = nullptr);

private:
    struct Entry {
        Release release;
        std::int64_t lastUse = 0;
    };

    void add(std::uint32_t id, Release release, std::int64_t lastUse);
    void forgetLeastUsed();

    std::size_t capacity_;
    std::unordered_map<std::uint32_t, Entry> byId_;
    std::unordered_map<std::string, std::uint32_t> idOfHash_;
    bool changed_ = false;
};

} // namespace qb::service
