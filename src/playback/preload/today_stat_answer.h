#pragma once

#include "playback/preload/stat_answer.h"

#include <QByteArray>

#include <optional>

namespace qb::playback {
// Reads the status object that today's server answers for a torrent ("get"). Nothing when the
// poll has failed: the answer is not a JSON object, or "preload_size" or "preloaded_bytes" is
// there but not a whole number within 32 bits. The server leaves out every count that is 0,
// so a missing count reads as 0 and a missing shown value as the empty text.
//
// Today's server counts a preload as done when the preloaded bytes have reached the preload
// size and the torrent has left the preload state ("stat" 2); that is when it has finished.
std::optional<PreloadStat> readTodayStatAnswer(const QByteArray& body);
} // namespace qb::playback
