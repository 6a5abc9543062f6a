#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace qb::service {

// A poster address a page can carry as it stands and the client can send on: an http(s)
// address of at most 1000 characters with no quotes, backslashes, angle brackets, back quotes,
// control characters, query or fragment (blanks and other bytes beyond ASCII are
// percent-encoded). The client puts it unescaped into the JSON text it adds a release with, and
// into the poster check's address, where a second "?" is refused and a "#" ends the address.
std::optional<std::string> usablePosterAddress(std::string_view address);

} // namespace qb::service
