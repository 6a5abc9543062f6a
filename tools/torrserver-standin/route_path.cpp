#include "route_path.h"

namespace torrserver {

bool routePathMatches(std::string_view pattern, std::string_view path) {
    while (!pattern.empty()) {
        if (pattern == "*") {
            return true;
        }
        if (pattern.front() == ':') {
            const std::size_t end = path.find('/');
            if (end == 0 || path.empty()) {
                return false;
            }
            pattern.remove_prefix(1);
            path.remove_prefix(end == std::string_view::npos ? path.size() : end);
            continue;
        }
        if (path.empty() || pattern.front() != path.front()) {
            return false;
        }
        pattern.remove_prefix(1);
        path.remove_prefix(1);
    }
    return path.empty();
}

} // namespace torrserver
