#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace qb::connection::today {
// The first stream a playlist of today's server names, the file a player opens first: the
// "link" (the torrent's hash) and "index" (the file's id) of the first line that carries both,
// as in ".../stream/Movie.mkv?link=<hash>&index=2&play".
struct PlaylistStream {
    QString hash;
    long long fileId = 0;
};
std::optional<PlaylistStream> firstPlaylistStream(const QByteArray& playlist);
} // namespace qb::connection::today
