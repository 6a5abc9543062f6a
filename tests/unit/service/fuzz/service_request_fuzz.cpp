// Any bytes as what reaches the service from outside besides the sources' answers: a request
// target, the settings file, a poster address to check, a magnet link and a size text. None may
// crash or hang; what they give stays within its limits.
#include "page_properties.h"

#include "core/magnet.h"
#include "core/poster_address.h"
#include "core/service_query.h"
#include "core/service_settings.h"
#include "core/size_text.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace qb::service;
    const std::string_view input(reinterpret_cast<const char*>(data), size);

    for (const char* name : {"q", "id", "secret", "url"}) {
        const std::string value = queryParameter(input, name);
        if (const auto query = parseServiceQuery(value)) {
            fuzz::require(query->page == 0 || query->page == 1);
            fuzz::require(query->kind != ServiceQuery::Kind::Text || !query->text.empty());
        }
        if (const auto id = parseReleaseId(value)) {
            fuzz::require(*id >= 1 && *id <= kLargestReleaseId);
        }
    }

    const SettingsText settings = parseSettingsText(input);
    fuzz::require(settings.settings.port < 65536);

    if (const auto poster = usablePosterAddress(input)) {
        fuzz::require(poster->find_first_of("\"'<>\\`?# ") == std::string::npos);
        fuzz::require(usablePosterAddress(*poster) == poster);
    }

    if (const auto hash = hashOfMagnet(input)) {
        fuzz::require(fuzz::isLowerHex(*hash));
    }
    for (const std::string& tracker : trackersOfMagnet(input, 12)) {
        fuzz::require(isUsableTracker(tracker));
    }
    (void)percentDecoded(input);
    (void)bytesOfSizeText(input);
    (void)exactnessOfSizeText(input, 100);
    return 0;
}
