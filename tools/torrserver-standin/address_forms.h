#pragma once

#include <string>

namespace torrserver {

// The 1.1 servers' two forms of addresses in the list and the playlists: 1.1.77's, and the
// one of 1.1.65-1.1.76 (their newest: 1.1.76's).
enum class AddressForms { V1176, V1177 };

// "1.1.N" with N below 77 gives the older forms; any other text 1.1.77's.
AddressForms addressFormsOf(const std::string& version);

} // namespace torrserver
