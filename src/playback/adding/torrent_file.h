#pragma once

#include <QByteArray>
#include <QString>

namespace qb::playback {
// The bytes of a torrent file to upload; an unreadable file is an error of the operation
// (std::runtime_error naming the file).
QByteArray torrentFileBytes(const QString& path);
} // namespace qb::playback
