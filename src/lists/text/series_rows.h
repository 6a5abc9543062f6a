#pragma once

#include "connection/list/server_entries.h"
#include "lists/text/series_torrent.h"

#include <cstddef>
#include <vector>

namespace qb::lists {
// A torrent the series check looks at, and the row its mark goes to while the list it was found
// in is shown: the first of the rows with its hash.
struct SeriesRow {
    SeriesTorrent torrent;
    std::size_t row = 0;
};

// The torrents the series check looks at among the first `rows` entries of `list` (the rows
// shown), in the list's order. Reads every one of those entries, so it may run on a thread of
// its own with a fresh copy of the list.
std::vector<SeriesRow> seriesRows(const connection::ServerEntries& list, std::size_t rows);
} // namespace qb::lists
