#pragma once

#include <QString>

namespace qb::playback {
// The address (relative to the server) that asks the server to preload the start of a stream,
// for each of the three play sources. Every "&amp=" (any case) is taken out of the result.

// Torrent list: the entry's "Playlist", URL-decoded, with every "&m3u=true" (any case) made
// into "&file=0&preload=true".
QString torrentPreloadLink(const QString& playlist);

// Search result: "/torrent/play?link=" + the URL-encoded magnet + "&file=0&preload=true".
QString searchPreloadLink(const QString& magnet);

// File list: the file entry's "Preload", URL-decoded.
QString filePreloadLink(const QString& preload);

// The info-hash a stat request names, for the search source (from the record's magnet, which
// keeps the page's "&amp;") and the file-list source (from the torrent's "Playlist", decoded):
// the text after "urn:btih:" up to the next "&". Empty when there is no "urn:btih:".
QString searchInfoHash(const QString& magnet);
QString playlistInfoHash(const QString& playlist);
} // namespace qb::playback
