// Any bytes as an answer of TorrServer's search routes: reading it must neither crash nor hang,
// and what it gives must make pages the client reads safely (see page_properties.h).
#include "page_properties.h"

#include "core/torrserver_answer.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace qb::service;
    const std::string_view json(reinterpret_cast<const char*>(data), size);
    for (const TorrServerRoute route : {TorrServerRoute::BuiltIn, TorrServerRoute::Torznab}) {
        const SourceAnswer answer = readTorrServerAnswer(json, route, "TorrServer fuzz");
        fuzz::require(answer.error.empty() || answer.releases.empty());
        fuzz::require(answer.releases.size() <= kMostReleasesPerAnswer);
        fuzz::checkReleasesAndPages(answer.releases);
    }
    return 0;
}
