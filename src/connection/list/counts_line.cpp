#include "connection/list/counts_line.h"

namespace qb::connection {
QString countsLine(int torrents, int searchRows) {
    return QStringLiteral("Всего торрентов: на сервере - ") + QString::number(torrents) +
           QStringLiteral(", в поиске - ") + QString::number(searchRows);
}
} // namespace qb::connection
