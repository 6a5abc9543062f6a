#include "connection/list/update_rows.h"

namespace qb::connection {
qsizetype firstUpdateRowWithHash(const QStringList& rows, const QString& hash) {
    if (hash.isEmpty()) {
        return -1;
    }
    for (qsizetype i = 0; i < rows.size(); ++i) {
        if (rows[i].contains(hash)) {
            return i;
        }
    }
    return -1;
}

bool removeFirstUpdateRow(QStringList& rows, const QString& hash) {
    const qsizetype index = firstUpdateRowWithHash(rows, hash);
    if (index < 0) {
        return false;
    }
    rows.removeAt(index);
    return true;
}
} // namespace qb::connection
