#include "unload_timings.h"

#include "address_forms.h"

#include <algorithm>

namespace torrserver {

UnloadTimings UnloadTimings::of(ApiMode api, const std::string& version,
                                std::optional<std::int64_t> unloadAfterMs) {
    using std::chrono::minutes;
    using std::chrono::seconds;
    UnloadTimings t;
    if (api == ApiMode::Matrix) {
        // Every event moves the time to at least now + TorrentDisconnectTimeout (30 s by
        // default), a look-up by at most a minute; the metadata may take a minute more.
        const Ms timeout = unloadAfterMs ? Ms(*unloadAfterMs) : Ms(seconds(30));
        const Ms capped = std::min<Ms>(timeout, minutes(1));
        t = {false, timeout, capped, capped, timeout, true, minutes(1) + Ms(seconds(30))};
        if (unloadAfterMs) {
            t.metadataTimeout = minutes(1) + timeout;
        }
    } else {
        // Five minutes after the metadata and after a preload; after the last stream 30 s
        // (a minute up to 1.1.76). The metadata may take ten minutes.
        const bool old = addressFormsOf(version) == AddressForms::V1176;
        const Ms readerClose = old ? Ms(minutes(1)) : Ms(seconds(30));
        t = {false, minutes(5), Ms(0), minutes(5), readerClose, false, minutes(10)};
        if (unloadAfterMs) {
            const Ms all(*unloadAfterMs);
            t.afterInfo = t.afterPreload = t.afterReaderClose = all;
        }
    }
    t.never = unloadAfterMs && *unloadAfterMs == 0;
    return t;
}

} // namespace torrserver
