// Any bytes as the list answer: the fast reader gives exactly the outcome, entries, order and
// member texts of the plain reader and sort, and the same row texts.
#include "connection/http/json_value_text.h"
#include "connection/list/server_list_reader.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

using namespace qb::connection;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    ListParseOutcome plain = parseServerList(bytes);
    sortServerList(plain.array);
    const ServerListRead fast = readServerList(bytes);
    if (fast.kind != plain.kind || fast.entries.size() != plain.array.size() ||
        fast.rowFields.size() != plain.array.size()) {
        std::abort();
    }
    const QStringList marks{QStringLiteral("^"), QString::fromUtf8(bytes.left(8))};
    for (std::size_t i = 0; i < fast.entries.size(); ++i) {
        if (fast.entries[i] != plain.array[i] ||
            compactJsonText(fast.entries[i]) != compactJsonText(plain.array[i]) ||
            torrentRowText(fast.rowFields[i], marks) != torrentRowText(plain.array[i], marks)) {
            std::abort();
        }
    }
    return 0;
}
