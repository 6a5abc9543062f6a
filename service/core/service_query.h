#pragma once

#include "shelves.h"

#include <optional>
#include <string>
#include <string_view>

namespace qb::service {

// What "/get.php?q=" asks for: page 0 or 1 of a text search ("search/<page>/0/000/2/<text>"),
// the top list ("top") or a category (its slug).
struct ServiceQuery {
    enum class Kind { Text, Top, Category };
    Kind kind = Kind::Text;
    int page = 0;
    std::string text;          // one line, blanks trimmed
    Shelf shelf = Shelf::Kino; // for Category
};

// The value of a parameter of a request target ("/get.php?secret=...&q=..."), decoded as a form
// value: "+" is a blank (the client sends blanks so) and "%XX" the byte XX; the first of equal
// names counts; empty when the target has no such parameter.
std::string queryParameter(std::string_view target, std::string_view name);

// The query of a decoded "q" value; nothing for anything else (an unknown slug, a page other
// than 0 and 1, a search without text).
std::optional<ServiceQuery> parseServiceQuery(std::string_view q);

// The form of a search text that equal searches share: letters in lower case, blanks as one.
std::string searchKey(std::string_view text);

// A release id as the client asks for it ("/get_info.php?id="): decimal, 1 to 999999999.
std::optional<std::uint32_t> parseReleaseId(std::string_view text);

} // namespace qb::service
