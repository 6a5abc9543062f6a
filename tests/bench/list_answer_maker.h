#pragma once

#include <QByteArray>

namespace qb::bench {
// A "/torrent/list" answer of `entries` torrents as a server holding a user's collection sends
// it: 40-hex hashes, magnets with trackers (some named "dn=id_" by this client), Russian names,
// a mix of single files and folders of 1 to 30 files with subtitles, a few still seeking peers.
// Written as the server's Go encoder writes it ("&", "<", ">" escaped). The same seed gives the
// same answer.
QByteArray makeListAnswer(int entries, unsigned seed = 1);

// The same collection as today's server lists it ("/torrents", action "list"): status objects
// with their members in the server's order and the empty ones left out, files sorted by path
// with ids from 1, the client's release data in "data" for half of them, one in five only in
// the server's database (stat 5, no name or files).
QByteArray makeTodayListAnswer(int entries, unsigned seed = 1);
} // namespace qb::bench
