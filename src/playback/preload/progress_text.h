#pragma once

#include "playback/preload/stat_answer.h"

#include <QString>

namespace qb::playback {
// A download speed in bytes per second as megabytes per second: the text is cut at its first
// ".", divided by 1048576 and written with at most two decimals, without trailing zeros
// ("1572864.9" gives "1.5", "2097152" gives "2"). A speed that is no number shows as "0".
QString speedInMegabytes(const QString& bytesPerSecond);

// The preload's progress line over the gauge: seeders, active peers, speed, the preloaded and
// the total megabytes and the percent (nearest whole numbers), and how to cancel. A preload
// size of 0 shows 0 %. Missing seeders or peers show as "0".
QString progressText(const PreloadStat& stat);
} // namespace qb::playback
