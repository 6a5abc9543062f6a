#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Sizes as sources write them and as the tracker's pages show them.
namespace qb::service {

// Bytes of a size text such as "4.4 GCiB" (today's TorrServer), "10.23 GB", "700,5 MB",
// "1.2 ТБ" or "123456"; -1 for a text that is not a size.
std::int64_t bytesOfSizeText(std::string_view text);

// How exact a size text is: its number of decimals ("7.95 GB" 2, "4.4 GCiB" 1, "20 GB" 0), or
// `inBytes` for a bare number of bytes.
int exactnessOfSizeText(std::string_view text, int inBytes);

// The size in a result row: "10.23" + no-break space + "GB" from one gigabyte on (the client
// drops the no-break space and writes " ГБ"), "700.52 MB" and "12.00 kB" below; "?" unknown.
std::string rowSizeText(std::int64_t bytes);

// The size on a release page: the row's size with a blank, and the bytes in parentheses as
// the tracker writes them: "10.23 GB (10,987,654,321 Bytes)".
std::string pageSizeText(std::int64_t bytes);

} // namespace qb::service
