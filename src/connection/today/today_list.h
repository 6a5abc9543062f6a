#pragma once

#include "connection/list/server_list_reader.h"

namespace qb::connection::today {
// Today's list answer: an array of status objects. A row shows "title" (the torrent's "name"
// while it has no title), "hash", "torrent_size" and "stat"; each entry is read as the client's
// entry (clientEntry).
extern const ListDialect kListDialect;
} // namespace qb::connection::today
