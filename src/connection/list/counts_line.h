#pragma once

#include <QString>

namespace qb::connection {
// The counts line of LogP: the rows of TorrentList and of SearchResult.
QString countsLine(int torrents, int searchRows);
} // namespace qb::connection
