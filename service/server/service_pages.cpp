#include "service_pages.h"

#include "core/idle_page.h"
#include "core/merging.h"
#include "core/release_page.h"
#include "core/result_page.h"
#include "core/shelves.h"

#include <algorithm>

namespace qb::service {

namespace {

std::vector<Release> firstRows(std::vector<Release> releases) {
    if (releases.size() > kRowsPerPage) {
        releases.resize(kRowsPerPage);
    }
    return releases;
}

std::string headingOf(const ServiceQuery& query) {
    switch (query.kind) {
    case ServiceQuery::Kind::Text:
        return "Результаты поиска: " + query.text;
    case ServiceQuery::Kind::Top:
        return "Топ раздач за 24 часа";
    case ServiceQuery::Kind::Category:
        return std::string(captionOf(query.shelf));
    }
    return {};
}

} // namespace

ServicePages::ServicePages(SearchHub& hub, ReleaseRegistry& registry, SourceSettings& settings,
                           std::chrono::milliseconds pageWait)
    : hub_(hub)
    , registry_(registry)
    , settings_(settings)
    , pageWait_(pageWait) {}

std::vector<Release> ServicePages::textPage(const ServiceQuery& query, Clock::time_point deadline) {
    const auto search = hub_.search(settings_.sources(), {false, query.text, {}});
    std::vector<Release> releases = search->releasesBy(deadline);
    sortBySeeders(releases);
    if (query.page == 0) {
        std::vector<Release> rows = firstRows(std::move(releases));
        std::unordered_set<std::string> listed;
        for (const Release& release : rows) {
            listed.insert(release.hash);
        }
        search->setFirstPage(std::move(listed));
        return rows;
    }
    // The second page lists what the first did not: the rest of the releases, and those of
    // sources that answered after the first page was made.
    if (const auto first = search->firstPage()) {
        std::erase_if(releases, [&first](const Release& r) { return first->contains(r.hash); });
    } else {
        releases.erase(releases.begin(), releases.begin() + static_cast<std::ptrdiff_t>(std::min(
                                                                releases.size(), kRowsPerPage)));
    }
    return firstRows(std::move(releases));
}

std::vector<Release> ServicePages::newest(const std::string& categories,
                                          Clock::time_point deadline) {
    return hub_.search(settings_.sources(), {true, {}, categories})->releasesBy(deadline);
}

std::string ServicePages::resultPage(const ServiceQuery& query, const PageContext& context,
                                     Clock::time_point asked) {
    const Clock::time_point deadline = asked + pageWait_;
    std::vector<Release> rows;
    switch (query.kind) {
    case ServiceQuery::Kind::Text:
        rows = textPage(query, deadline);
        break;
    case ServiceQuery::Kind::Top:
        rows = firstRows(topOfTheDay(newest("2000,5000", deadline), secondsNow()));
        break;
    case ServiceQuery::Kind::Category: {
        rows = newest(std::string(torznabCategoriesOf(query.shelf)), deadline);
        std::erase_if(rows, [&query](const Release& r) { return shelfOf(r) != query.shelf; });
        sortByDate(rows);
        rows = firstRows(std::move(rows));
        break;
    }
    }
    return qb::service::resultPage(context, headingOf(query), registry_.list(rows));
}

std::optional<std::string> ServicePages::releasePage(std::uint32_t id, const PageContext& context) {
    const auto release = registry_.recall(id);
    if (!release) {
        return std::nullopt;
    }
    return qb::service::releasePage(context, id, *release);
}

std::string ServicePages::idlePage() {
    std::vector<std::string> names;
    for (const SourceAddress& source : settings_.sources()) {
        names.push_back(sourceName(source));
    }
    return qb::service::idlePage(names, settings_.settingsFile());
}

} // namespace qb::service
