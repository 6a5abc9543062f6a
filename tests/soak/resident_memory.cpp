#include "resident_memory.h"

#include <malloc.h>

#include <charconv>
#include <fstream>
#include <sstream>

namespace qb::test {

std::optional<std::int64_t> residentKilobytes(const std::string& statusText) {
    static const std::string kLabel = "VmRSS:";
    std::size_t at = 0;
    // The label counts only at the start of a line.
    while ((at = statusText.find(kLabel, at)) != std::string::npos && at != 0 &&
           statusText[at - 1] != '\n') {
        at += kLabel.size();
    }
    if (at == std::string::npos) {
        return std::nullopt;
    }
    std::size_t digits = at + kLabel.size();
    while (digits < statusText.size() &&
           (statusText[digits] == ' ' || statusText[digits] == '\t')) {
        ++digits;
    }
    std::int64_t value = 0;
    const char* first = statusText.data() + digits;
    const char* last = statusText.data() + statusText.size();
    const auto [end, error] = std::from_chars(first, last, value);
    if (error != std::errc() || end == first || value < 0) {
        return std::nullopt;
    }
    return value;
}

std::optional<std::int64_t> ownResidentKilobytes() {
    std::ifstream status("/proc/self/status");
    std::ostringstream text;
    text << status.rdbuf();
    return residentKilobytes(text.str());
}

std::optional<std::int64_t> ownResidentKilobytesTrimmed() {
    ::malloc_trim(0);
    return ownResidentKilobytes();
}

double growthPercent(std::int64_t start, std::int64_t end) {
    if (start <= 0) {
        return 0.0;
    }
    return 100.0 * static_cast<double>(end - start) / static_cast<double>(start);
}

} // namespace qb::test
