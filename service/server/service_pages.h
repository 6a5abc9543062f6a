#pragma once

#include "core/page_context.h"
#include "core/service_query.h"
#include "release_registry.h"
#include "search_hub.h"
#include "service_config.h"

#include <chrono>
#include <optional>
#include <string>

namespace qb::service {

// The service's pages from its sources: a result page waits for the sources at most
// `pageWait` after it was asked for, then lists what arrived.
class ServicePages {
public:
    ServicePages(SearchHub& hub, ReleaseRegistry& registry, SourceSettings& settings,
                 std::chrono::milliseconds pageWait);

    std::string resultPage(const ServiceQuery& query, const PageContext& context,
                           Clock::time_point asked);
    // Nothing for an id the service never listed (or has forgotten).
    std::optional<std::string> releasePage(std::uint32_t id, const PageContext& context);
    std::string idlePage();

private:
    std::vector<Release> textPage(const ServiceQuery& query, Clock::time_point deadline);
    std::vector<Release> newest(const std::string& categories, Clock::time_point deadline);

    SearchHub& hub_;
    ReleaseRegistry& registry_;
    SourceSettings& settings_;
    std::chrono::milliseconds pageWait_;
};

// The most rows one result page lists.
inline constexpr std::size_t kRowsPerPage = 100;

} // namespace qb::service
