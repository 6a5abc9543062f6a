#include "connection/today/today_list.h"

#include "connection/today/client_entry.h"

namespace qb::connection::today {
const ListDialect kListDialect{"title", "name", "hash", "torrent_size", "stat", &clientEntry};
} // namespace qb::connection::today
