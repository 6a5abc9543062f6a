// Any bytes as a release page: reading the announced file count must neither crash nor hang,
// and a count it reads is never negative.
#include "lists/text/announced_count.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const std::optional<int> count = qb::lists::announcedFileCount(QString::fromUtf8(bytes));
    if (count && *count < 0) {
        std::abort();
    }
    return 0;
}
