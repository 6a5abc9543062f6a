#pragma once

#include <string>
#include <utility>
#include <vector>

namespace qb::standin {

// A zip archive of stored (uncompressed) entries: enough for a real, openable update archive.
std::string makeStoredZip(const std::vector<std::pair<std::string, std::string>>& entries);
unsigned long crc32Of(const std::string& data);

} // namespace qb::standin
