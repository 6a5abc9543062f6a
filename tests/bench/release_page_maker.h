#pragma once

#include <string>

namespace qb::bench {

// A tracker release page of about `bytes` bytes of UTF-8, as the service relays it: the release's
// details, ratings, screenshots and files, then a long thread of users' comments.
std::string releasePageAnswer(std::size_t bytes);

} // namespace qb::bench
