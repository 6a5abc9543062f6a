#pragma once

#include "go_json.h"

#include <string>
#include <vector>

namespace torrserver {

// The releases the search routes answer from (--search-fixture): a JSON array of release
// records in the shape of the server's answer ("Title", "Name", "Names", "Categories", "Size",
// "CreateDate", "Tracker", "Link", "Year", "Peer", "Seed", "Magnet", "Hash", "IMDBID",
// "VideoQuality", "AudioQuality"), used by both searches; or an object with "rutor" and
// "torznab" arrays. A torznab record may give its size in bytes as "Bytes".
class SearchFixture {
public:
    explicit SearchFixture(const std::string& file);

    bool loaded() const { return loaded_; }
    const std::string& error() const { return error_; }

    // The built-in index's answer: releases whose title holds every word of the query, the
    // nearest names first (edit distance to the query), then the newest.
    Json rutor(const std::string& query) const;
    // A torznab indexer's answer as the server passes it on: the releases whose title holds
    // every word (all for an empty query), with the members torznab fills.
    Json torznab(const std::string& query) const;

private:
    bool loaded_ = false;
    std::string error_;
    std::vector<Json> rutor_;
    std::vector<Json> torznab_;
};

// A release record with every member of the server's answer, in its order; absent ones zero.
Json releaseRecord(const Json& given);

} // namespace torrserver
