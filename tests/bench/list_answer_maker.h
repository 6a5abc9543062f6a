#pragma once

#include <QByteArray>

namespace qb::bench {
// A "/torrent/list" answer of `entries` torrents as a server holding a user's collection sends
// it: 40-hex hashes, magnets with trackers (some named "dn=id_" by this client), Russian names,
// a mix of single files and folders of 1 to 30 files with subtitles, a few still seeking peers.
// Written as the server's Go encoder writes it ("&", "<", ">" escaped). The same seed gives the
// same answer.
QByteArray makeListAnswer(int entries, unsigned seed = 1);
} // namespace qb::bench
