#pragma once

#include <string_view>

namespace torrserver {

// Whether a request path fits a route's pattern, as the servers' routers match: characters
// alike, ":" one non-empty segment (anything but "/"), a final "*" the rest of the path.
bool routePathMatches(std::string_view pattern, std::string_view path);

} // namespace torrserver
