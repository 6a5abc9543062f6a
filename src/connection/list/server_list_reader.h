#pragma once

#include "connection/list/server_list.h"

#include <QByteArray>

namespace qb::connection {

// The list answer read and sorted in one go: the same outcome as parseServerList followed by
// sortServerList, entry for entry, but fast enough for a server holding thousands of torrents.
// The common answer is read with simdjson, and each entry's sort key is written while its value
// is built; anything that reader might read differently (duplicate member names, a negative
// zero, nesting past the limit, text the stricter reader refuses, an answer that is not an
// array) is read the plain way instead. Safe to call on any thread.
ListParseOutcome readSortedServerList(const QByteArray& answer);

// Whether UTF-8 text `a` orders before `b` when both are compared as UTF-16 code units, the
// order of the list's sort keys.
bool utf16Less(std::string_view a, std::string_view b);

} // namespace qb::connection
