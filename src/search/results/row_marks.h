#pragma once

#include <QStringView>

namespace qb::search {

// What one pass over a row finds of the marks that decide whether it is listed: a resolution
// mark (1080p, 2160p, 1080i), and a mark of a release that is never listed (books, pictures,
// games and one ripper's releases). Marks match letter case exactly.
struct RowMarks {
    bool resolution = false;
    bool excluded = false;
};

// The marks of `row`; the pass stops at the first exclusion mark, so `resolution` is then
// only what was seen before it.
RowMarks rowMarks(QStringView row);

} // namespace qb::search
