#pragma once

#include <string>
#include <string_view>

namespace qb::service {

// The service's log: one line per event on standard error, which the user's systemd journal
// keeps. Lines from several threads never mix.
void logLine(std::string_view text);

// Also appends every line to this file from now on (--log).
bool setLogFile(const std::string& path);

} // namespace qb::service
