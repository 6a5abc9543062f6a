#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

#include <set>

namespace qb::connection::today {
// The files each torrent has played, as today's server lists them ("/viewed", action "list"):
// [{"hash": ..., "file_index": <id>, "timecode": ...}, ...]. Entries that are not of that shape
// are passed over; an answer that is not such a list gives no marks.
using ViewedMarks = QHash<QString, std::set<long long>>;
ViewedMarks readViewedMarks(const QByteArray& answer);
} // namespace qb::connection::today
