#include "routes.h"
#include "text_util.h"

namespace qb::standin {

// The tracker's release page for a decimal id; any other id gets the tracker's page for a
// release that does not exist, as the relay passes it on.
void installReleaseRoutes(httplib::Server& server, ServiceContext& context) {
    server.Get(
        "/get_info.php", withFaultsAndLog(context, [&context](const httplib::Request& request,
                                                              httplib::Response& response) {
            if (!secretMatches(request, context)) {
                response.status = 403;
                response.set_content("", "text/html; charset=utf-8");
                return;
            }
            const auto id = queryParam(request.target, "id");
            std::optional<std::string> page;
            if (isDecimal(id))
                page = context.fixtures.read("releases/" + id + ".html");
            if (!page)
                page = context.fixtures.read("releases/missing.html");
            answerPage(response, page.value_or(""), baseUrlOf(request, context.options.port));
        }));
}

} // namespace qb::standin
