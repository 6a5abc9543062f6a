#pragma once

#include "connection/list/server_entries.h"
#include "connection/list/server_list.h"
#include "connection/list/torrent_row.h"

#include <QByteArray>

#include <string_view>
#include <vector>

namespace qb::connection {

// How a generation's list answer names what a row shows, and how its entries become the
// client's entries (nothing: they are the client's entries as sent).
struct ListDialect {
    std::string_view name;
    std::string_view fallbackName; // read when `name` reads as the empty text; may be empty
    std::string_view hash;
    std::string_view length;
    std::string_view status;
    nlohmann::ordered_json (*clientEntry)(const nlohmann::ordered_json&) = nullptr;
};

// The 1.1 generation's list: "Name", "Hash", "Length", "Status", entries as sent.
extern const ListDialect kApi11ListDialect;

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
// The sort key is each entry's text as the server sent it, whatever the generation. Entries are
// read through `transform` where one is given, else through the dialect's.
ServerListRead readServerList(const QByteArray& answer,
                              const ListDialect& dialect = kApi11ListDialect,
                              const ServerEntries::EntryTransform& transform = {});

// Whether UTF-8 text `a` orders before `b` when both are compared as UTF-16 code units, the
// order of the list's sort keys.
bool utf16Less(std::string_view a, std::string_view b);

} // namespace qb::connection
