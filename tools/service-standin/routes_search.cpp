#include "routes.h"
#include "search_query.h"

namespace qb::standin {

namespace {

constexpr const char* kNoResults = "pages/empty.html";

// The fixture page that answers a query: what the tracker would show for it.
std::string pageFor(const SearchQuery& query, const FixtureStore& fixtures) {
    switch (query.kind) {
    case SearchQuery::Kind::Text:
        return fixtures.searchPage(query.text, query.page).value_or(kNoResults);
    case SearchQuery::Kind::Top:
        return "pages/top.html";
    case SearchQuery::Kind::Category: {
        std::string page = "pages/" + query.text + ".html";
        return fixtures.file(page) ? page : kNoResults;
    }
    case SearchQuery::Kind::Unknown:
        break;
    }
    return kNoResults;
}

} // namespace

// A wrong or missing secret is refused the way the service's front refuses any unauthorised
// call: 403 with an empty body. The client reads that as a page without results.
void installSearchRoutes(httplib::Server& server, ServiceContext& context) {
    server.Get("/get.php", withFaultsAndLog(context, [&context](const httplib::Request& request,
                                                                httplib::Response& response) {
                   if (!secretMatches(request, context)) {
                       response.status = 403;
                       response.set_content("", "text/html; charset=utf-8");
                       return;
                   }
                   auto query = parseSearchQuery(queryParam(request.target, "q"));
                   auto page = context.fixtures.read(pageFor(query, context.fixtures));
                   answerPage(response, page.value_or(""),
                              baseUrlOf(request, context.options.port));
               }));
}

} // namespace qb::standin
