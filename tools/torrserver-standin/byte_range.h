#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace torrserver {

struct ByteRange {
    enum class Kind { Whole, Partial, Unsatisfiable, Invalid };
    Kind kind = Kind::Whole;
    std::int64_t first = 0;
    std::int64_t last = 0; // inclusive
};

// A Range header against a file of `size` bytes: no header gives Whole; "bytes=a-b", "a-" and
// "-n" give Partial, clamped to the file; a range past the end Unsatisfiable; anything else
// Invalid. Of several ranges the first that overlaps the file is taken.
ByteRange parseByteRange(std::string_view header, std::int64_t size);

} // namespace torrserver
