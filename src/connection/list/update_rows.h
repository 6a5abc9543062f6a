#pragma once

#include <QString>
#include <QStringList>

namespace qb::connection {
// The index of the first UpdateList1 row (title + "^" + hash) that contains `hash`; -1 when
// none does or the hash is empty.
qsizetype firstUpdateRowWithHash(const QStringList& rows, const QString& hash);

// Removes that first row only, as a removal or an update of the torrent does. Returns whether a
// row went.
bool removeFirstUpdateRow(QStringList& rows, const QString& hash);
} // namespace qb::connection
