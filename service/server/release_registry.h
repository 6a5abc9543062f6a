#pragma once

#include "core/release_store.h"
#include "core/result_page.h"

#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace qb::service {

// The release store shared by the pages, kept in the state file: read at start, written when
// it changed (at most every few seconds, and at the end).
class ReleaseRegistry {
public:
    explicit ReleaseRegistry(std::string stateFile);

    // Gives every release its id (remembering what the answer says of it).
    std::vector<ListedRelease> list(const std::vector<Release>& releases);
    std::optional<Release> recall(std::uint32_t id);

    // Writes the state file when the store changed since it was last written.
    void save();

private:
    std::string stateFile_;
    std::mutex mutex_;
    ReleaseStore store_;
};

// The current time, in seconds since the epoch.
std::int64_t secondsNow();

} // namespace qb::service
