#pragma once

#include <nlohmann/json.hpp>

#include <QByteArray>
#include <QList>
#include <QString>

namespace qb::playback {
// The address of one file in a playlist: the server's address and the file's "Link", in which
// every "&file=0" (any case) names the file's own index instead.
QString filePlaylistAddress(const QString& base, const QString& link, int fileIndex);

// The playlist of chosen files of a torrent, as the player reads it: UTF-8 with a byte-order
// mark, CR LF after every line, "#EXTM3U" first, then for each file (given by its index in
// `files`, in the order given) "#EXTINF:0, " with the file's name without its folder, and the
// file's address. Indexes outside `files` are passed over.
QByteArray filePlaylistBytes(const QString& base, const nlohmann::ordered_json& files,
                             const QList<int>& fileIndexes);

// The file name proposed for a torrent's saved playlist: its name without the text from the
// last "." on, whatever that text is.
QString playlistFileName(const QString& torrentName);
} // namespace qb::playback
