#pragma once

#include <QString>

namespace qb::bench {
// Page `page` of the tracker's answer to a text search as the search service passes it on:
// `rows` result rows in the tracker's markup, varied as a real page is (comments cells,
// excluded releases, every resolution), each release id once over the pages.
QString makeResultPage(int page, int rows);
} // namespace qb::bench
