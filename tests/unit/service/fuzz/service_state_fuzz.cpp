// Any bytes as the service's state file: reading it must neither crash nor hang; what it gives
// has ids of at most nine digits and lower-case hashes, and writes a state text that reads back
// as the same text.
#include "page_properties.h"

#include "core/release_store.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace qb::service;
    ReleaseStore store =
        ReleaseStore::fromStateText({reinterpret_cast<const char*>(data), size}, 100);
    fuzz::require(store.size() <= 100);
    const std::string text = store.stateText();
    ReleaseStore again = ReleaseStore::fromStateText(text, 100);
    fuzz::require(again.size() == store.size());
    fuzz::require(again.stateText() == text);
    for (std::uint32_t id = 1; id <= 3; ++id) {
        (void)store.recall(id, 2);
    }
    return 0;
}
