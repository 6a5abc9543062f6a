#pragma once

#include "connection/list/server_entries.h"
#include "connection/list/server_list.h"
#include "connection/list/torrent_row.h"

#include <QByteArray>

#include <string_view>
#include <vector>

namespace qb::connection {

// The list answer read, sorted and made ready for the rows.
struct ServerListRead {
    ListAnswerKind kind = ListAnswerKind::NotJson;
    ServerEntries entries;                   // sorted; empty unless kind is Array
    std::vector<TorrentRowFields> rowFields; // the members each entry's row shows, in order
};

// The same outcome and entries as parseServerList followed by sortServerList, fast enough for a
// server holding thousands of torrents. The common answer is read with simdjson, and each
// entry's compact text, its sort key, is written straight from that reading; the entries stay
// as those texts until they are asked for (ServerEntries). Anything that might read differently
// there (a repeated member name, a negative zero, nesting past the limit, text the strict
// reader refuses, an answer that is not an array) is read the plain way instead. Safe to call
// on any thread.
ServerListRead readServerList(const QByteArray& answer);

// Whether UTF-8 text `a` orders before `b` when both are compared as UTF-16 code units, the
// order of the list's sort keys.
bool utf16Less(std::string_view a, std::string_view b);

} // namespace qb::connection
