#pragma once

#include <QByteArray>

namespace qb::bench {
// A "/torrent/list" answer of `entries` torrents as a server holding a user's collection sends
// it: 40-hex hashes, magnets with trackers (some named "dn=id_" by this client), Russian names,
// a mix of single files and folders of 1 to 30 files with subtitles, a few still seeking peers.
// Written as the server's Go encoder writes it ("&", "<", ">" escaped). The same seed gives the
// same answer.
QByteArray makeListAnswer(int entries, unsigned seed = 1);

// The same kind of collection as today's server lists it ("/torrents", action "list"): status
// objects with their members in the server's order and the empty ones left out. Three in four
// are only in the server's database (stat 5: no name, counters or files; their file list is in
// "data" as the server keeps it, or the client's release data is), the others loaded, with their
// counters, "torrs_hash" and files sorted by path with ids from 1.
QByteArray makeTodayListAnswer(int entries, unsigned seed = 1);
} // namespace qb::bench
