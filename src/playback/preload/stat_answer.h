#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>

namespace qb::playback {
// What the preload monitor takes from one status answer of the server.
struct PreloadStat {
    std::int32_t preloadSize = 0;    // bytes the server preloads: the gauge's maximum
    std::int32_t preloadedBytes = 0; // bytes preloaded so far: the gauge's position
    QString seeders;                 // "ConnectedSeeders" as sent
    QString peers;                   // "ActivePeers" as sent
    QString speed;                   // "DownloadSpeed" as sent, bytes per second
    bool finished = false;           // the server has preloaded what it meant to
    friend bool operator==(const PreloadStat&, const PreloadStat&) = default;
};

// Reads a "/torrent/stat" answer of a 1.1 server. Nothing when the poll has failed: the answer
// is not a JSON object, or "PreloadSize" or "PreloadedBytes" is missing, not a whole number or
// outside 32 bits. The three shown values may be missing (or be objects): they read as the
// empty text. The preload has finished once more bytes are preloaded than asked for; equal
// values go on.
std::optional<PreloadStat> readStatAnswer(const QByteArray& body);

inline bool preloadFinished(const PreloadStat& stat) {
    return stat.finished;
}
} // namespace qb::playback
