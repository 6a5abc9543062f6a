#pragma once

#include <string>

namespace qb::standin {

// What a "q=" value of /get.php asks for.
struct SearchQuery {
    enum class Kind { Text, Top, Category, Unknown };
    Kind kind = Kind::Unknown;
    int page = 0;     // Text
    std::string text; // Text: the decoded search text; Category: the slug
};

// "search/<page>/0/000/2/<text>", "top", or one of the ten category slugs.
SearchQuery parseSearchQuery(const std::string& q);
bool isCategorySlug(const std::string& slug);

} // namespace qb::standin
