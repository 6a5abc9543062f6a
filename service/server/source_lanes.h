#pragma once

#include "core/source_address.h"
#include "core/source_answer.h"
#include "source_fetch.h"

#include <atomic>
#include <string>
#include <vector>

namespace qb::service {

// What the service asks its sources: releases matching a text, or the newest releases (of
// some Torznab categories, or of all).
struct SourceRequest {
    bool newest = false;
    std::string text;
    std::string categories; // Torznab's "cat", for the newest of a category
};

// One request to one source: an indexer has one lane; a TorrServer two for a text (its own
// index and the indexers set in it) and one for the newest releases (only its indexers list
// them).
struct Lane {
    SourceAddress source;
    std::string url;
    enum class Reads { Torznab, TorrServerIndex, TorrServerIndexers } reads = Reads::Torznab;
};

std::vector<Lane> lanesOf(const std::vector<SourceAddress>& sources, const SourceRequest& request);

// Asks a lane and reads its answer; a source that does not answer, answers an error status or
// something unreadable gives no releases, and says why in `error` (for the log).
SourceAnswer askLane(const Lane& lane, const FetchLimits& limits, const std::atomic<bool>& stop);

} // namespace qb::service
