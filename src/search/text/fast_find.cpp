#include "search/text/fast_find.h"

#include <cstring>

namespace qb::search {

qsizetype findText(QStringView text, QStringView needle, qsizetype from) {
    if (from < 0 || from > text.size()) {
        return -1;
    }
    if (needle.isEmpty()) {
        return from;
    }
    const auto* const begin = reinterpret_cast<const char*>(text.data());
    const auto* const end = begin + text.size() * 2;
    const auto* at = begin + from * 2;
    const auto needleBytes = static_cast<size_t>(needle.size()) * 2;
    // A byte-wise match may straddle two code units; such a match is passed over.
    while (const void* found =
               memmem(at, static_cast<size_t>(end - at), needle.data(), needleBytes)) {
        const auto offset = static_cast<const char*>(found) - begin;
        if (offset % 2 == 0) {
            return offset / 2;
        }
        at = static_cast<const char*>(found) + 1;
    }
    return -1;
}

} // namespace qb::search
