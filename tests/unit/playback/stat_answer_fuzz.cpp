// Any bytes as a "/torrent/stat" answer: reading it and writing the progress line must neither
// crash nor hang.
#include "playback/preload/progress_text.h"
#include "playback/preload/stat_answer.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    if (const auto stat = qb::playback::readStatAnswer(bytes)) {
        (void)qb::playback::progressText(*stat);
        (void)qb::playback::preloadFinished(*stat);
    }
    (void)qb::playback::speedInMegabytes(QString::fromUtf8(bytes));
    return 0;
}
