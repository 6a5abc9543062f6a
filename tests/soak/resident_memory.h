#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace qb::test {

// The "VmRSS:" figure of a /proc/<pid>/status text, in kilobytes; nothing when the text has
// none or it cannot be read as a number.
std::optional<std::int64_t> residentKilobytes(const std::string& statusText);

// This process's resident memory in kilobytes, as the system counts it.
std::optional<std::int64_t> ownResidentKilobytes();

// The same after the heap has handed its free pages back, so that what stays is memory in use
// rather than the allocator's reserve.
std::optional<std::int64_t> ownResidentKilobytesTrimmed();

// How much `end` exceeds `start`, in per cent of `start` (negative when memory shrank).
double growthPercent(std::int64_t start, std::int64_t end);

} // namespace qb::test
