#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <string>

namespace qb::service {

struct FetchLimits {
    std::chrono::milliseconds total{20000}; // the whole request, from connecting to the last byte
    std::size_t mostBytes = 16 * 1024 * 1024;
};

// An answer of a source, or why there was none.
struct Fetched {
    long status = 0;
    std::string body;
    std::string failure; // empty when an answer came
};

// GETs an http(s) address (a user and password in it are sent as Basic authentication),
// following up to three redirects. Ends early when `stop` becomes true.
Fetched fetch(const std::string& url, const FetchLimits& limits, const std::atomic<bool>& stop);

} // namespace qb::service
