#pragma once

#include "options.h"

#include <chrono>
#include <optional>

namespace torrserver {

// When a loaded torrent that nobody reads is unloaded, and how long its metadata may take.
struct UnloadTimings {
    using Ms = std::chrono::milliseconds;
    bool never = false;
    Ms afterInfo{0};         // from the arrival of the metadata
    Ms afterTouch{0};        // from a request that looks the torrent up (matrix only)
    Ms afterPreload{0};      // from the end of a preload
    Ms afterReaderClose{0};  // from the end of the last stream
    bool extendOnly = false; // matrix: an event never brings the time forward
    Ms metadataTimeout{0};   // a torrent without metadata this long is closed

    // The real servers' timings, or `unloadAfterMs` for every one of them (0: never).
    static UnloadTimings of(ApiMode api, const std::string& version,
                            std::optional<std::int64_t> unloadAfterMs);
};

} // namespace torrserver
