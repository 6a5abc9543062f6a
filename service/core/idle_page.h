#pragma once

#include <string>
#include <vector>

namespace qb::service {

// The page the client's information view shows while no release is on display. It names the
// sources the service searches, or, with none, tells how to give it one: the lines of the
// settings file (`settingsFile`), which the service reads again when it has changed.
std::string idlePage(const std::vector<std::string>& sourceNames, const std::string& settingsFile);

} // namespace qb::service
