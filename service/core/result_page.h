#pragma once

#include "page_context.h"
#include "release.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qb::service {

struct ListedRelease {
    std::uint32_t id;
    Release release;
};

// A result page in the tracker's form, which the client reads line by line with the markers of
// a result row: a table whose header row ends in "Пиры</td></tr>", then one row per release,
// each on its own line: the magnet link (the tracker's domain as its display name, "&" written
// "&amp;"), the page "/torrent/<id>/<name>" with the title and a blank before "</a>", the size
// after `ht">` (a no-break space before "GB"), the seeders after `alt="S">` and the leechers
// after `class="red">` (each after a no-break space), and "</span></td></tr>". `heading` names
// the page (the search text, the top, a category) and is shown as text.
std::string resultPage(const PageContext& context, std::string_view heading,
                       const std::vector<ListedRelease>& rows);

// The last part of a release page's path: the title's Latin letters and digits in lower case,
// other runs as "-", at most 80 characters; "release" when nothing is left.
std::string pathName(std::string_view title);

// A date as the tracker's rows show it: "25 Апр 24" (UTC); empty for 0.
std::string rowDate(std::int64_t seconds);

} // namespace qb::service
