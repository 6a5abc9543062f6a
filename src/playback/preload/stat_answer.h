#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>

namespace qb::playback {
// What the preload monitor takes from one "/torrent/stat" answer.
struct PreloadStat {
    std::int32_t preloadSize = 0;    // bytes the server preloads: the gauge's maximum
    std::int32_t preloadedBytes = 0; // bytes preloaded so far: the gauge's position
    QString seeders;                 // "ConnectedSeeders" as sent
    QString peers;                   // "ActivePeers" as sent
    QString speed;                   // "DownloadSpeed" as sent, bytes per second
    friend bool operator==(const PreloadStat&, const PreloadStat&) = default;
};

// Reads a stat answer. Nothing when the poll has failed: the answer is not a JSON object, or
// "PreloadSize" or "PreloadedBytes" is missing, not a whole number or outside 32 bits. The
// three shown values may be missing (or be objects): they read as the empty text.
std::optional<PreloadStat> readStatAnswer(const QByteArray& body);

// The preload has finished once more bytes are preloaded than asked for; equal values go on.
inline bool preloadFinished(const PreloadStat& stat) {
    return stat.preloadedBytes > stat.preloadSize;
}
} // namespace qb::playback
