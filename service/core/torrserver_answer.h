#pragma once

#include "source_answer.h"

#include <string_view>

namespace qb::service {

// The two search routes of today's TorrServer, whose answers count peers differently.
enum class TorrServerRoute {
    BuiltIn, // "/search/": the server's own release index; "Peer" counts leechers
    Torznab, // "/torznab/search/": the indexers set in the server; "Peer" is Torznab's peers
};

// A JSON array of the server's release records ("Title", "Name", "Categories", "Size",
// "CreateDate", "Magnet", "Hash", "Seed", "Peer", "Year", ...). Records without an info-hash
// are left out; anything but an array gives no releases.
SourceAnswer readTorrServerAnswer(std::string_view json, TorrServerRoute route,
                                  std::string_view sourceLabel);

// Whether a JSON text nests arrays and objects deeper than `limit`, counted without reading it.
bool nestsDeeperThan(std::string_view json, int limit);

} // namespace qb::service
