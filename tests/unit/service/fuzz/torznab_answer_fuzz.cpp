// Any bytes as a Torznab indexer's answer: reading it must neither crash nor hang, and what it
// gives must make pages the client reads safely (see page_properties.h).
#include "page_properties.h"

#include "core/torznab_answer.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace qb::service;
    const SourceAnswer answer =
        readTorznabAnswer({reinterpret_cast<const char*>(data), size}, "Torznab fuzz");
    fuzz::require(answer.error.empty() || answer.releases.empty());
    fuzz::require(answer.releases.size() <= kMostReleasesPerAnswer);
    fuzz::checkReleasesAndPages(answer.releases);
    return 0;
}
