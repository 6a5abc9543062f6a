#include "lists/text/series_rows.h"

#include "connection/list/member_text.h"

#include <QHash>

#include <algorithm>

namespace qb::lists {

std::vector<SeriesRow> seriesRows(const connection::ServerEntries& list, std::size_t rows) {
    rows = std::min(rows, list.size());
    QHash<QString, std::size_t> firstRowOfHash;
    std::vector<SeriesRow> found;
    for (std::size_t i = 0; i < rows; ++i) {
        const QString hash = connection::entryMemberText(list[i], "Hash");
        if (!firstRowOfHash.contains(hash)) {
            firstRowOfHash.insert(hash, i);
        }
        if (auto torrent = seriesTorrent(list[i])) {
            found.push_back({std::move(*torrent), 0});
        }
    }
    for (SeriesRow& series : found) {
        series.row = firstRowOfHash.value(series.torrent.hash);
    }
    return found;
}

} // namespace qb::lists
