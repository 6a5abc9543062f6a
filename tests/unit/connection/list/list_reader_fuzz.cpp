// Any bytes as the list answer: the fast reader gives exactly the outcome, entries, order and
// member texts of the plain reader and sort.
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
    const ListParseOutcome fast = readSortedServerList(bytes);
    if (fast.kind != plain.kind || fast.array.size() != plain.array.size()) {
        std::abort();
    }
    for (std::size_t i = 0; i < fast.array.size(); ++i) {
        if (fast.array[i] != plain.array[i] ||
            compactJsonText(fast.array[i]) != compactJsonText(plain.array[i])) {
            std::abort();
        }
    }
    return 0;
}
