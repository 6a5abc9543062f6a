#pragma once

#include <string>

namespace qb::service {

// What every page of the service needs besides its releases.
struct PageContext {
    std::string baseUrl;       // "http://" + the host the request named: images load from there
    std::string trackerDomain; // the display name that result rows' magnets carry
};

} // namespace qb::service
