#pragma once

#include <QString>

// Addresses on today's server, relative to its base address.
namespace qb::connection::today {

// The m3u of one torrent: "/playlist?hash=<hash>". The server loads a torrent that is only in
// its database first.
QString playlistAddress(const QString& hash);

// The stream of file `id` (ids start at 1), as the server's own playlists name it:
// "/stream/<file's base name, path-escaped>?link=<hash>&index=<id>&play".
QString streamAddress(const QString& hash, const QString& path, long long id);

// The preload of a file: "/stream?link=<hash>&index=<id>&preload"; without an id the server
// preloads the torrent's first file. It answers once the preload has finished.
QString preloadAddress(const QString& hash, long long id);
QString preloadAddress(const QString& hash);

// The m3u of a torrent played without adding it: "/stream/<name>.m3u?link=<magnet>&m3u". The
// server reads the link's value unescaped twice (by its query reading, then once more), so
// the magnet is escaped twice and reaches it exactly as it was.
QString playWithoutAddingAddress(const QString& magnet);

// The m3u of every torrent on the server.
QString allPlaylistAddress();

// The server's web interface, which holds its settings, statistics and cache pages.
QString webInterfaceAddress();

// A magnet link of a torrent: the info-hash and, when there is one, the display name.
QString magnetOf(const QString& hash, const QString& displayName);

// The base name of a path inside a torrent: the part after its last "/".
QString baseName(const QString& path);

} // namespace qb::connection::today
