#include "lists/text/series_torrent.h"

#include "connection/http/json_value_text.h"
#include "connection/list/member_text.h"
#include "connection/list/release_id.h"
#include "connection/list/row_colours.h"
#include "connection/list/torrent_row.h"

#include <limits>

namespace qb::lists {
namespace {
// The number of file entries, or nothing when "Files" is not an array.
std::optional<size_t> fileCount(const nlohmann::ordered_json& entry) {
    if (const nlohmann::ordered_json* files = qb::connection::entryFiles(entry)) {
        return files->size();
    }
    const QString text = qb::connection::entryMemberText(entry, "Files");
    const auto parsed = qb::connection::parseJsonAnswer(text.toUtf8());
    if (!parsed || !parsed->is_array()) {
        return std::nullopt;
    }
    return parsed->size();
}
} // namespace

std::optional<SeriesTorrent> seriesTorrent(const nlohmann::ordered_json& entry) {
    const std::optional<size_t> files = fileCount(entry);
    if (!files || *files < 2) {
        return std::nullopt;
    }
    const QString magnet = qb::connection::entryMemberText(entry, "Magnet");
    const std::optional<QString> releaseId = qb::connection::releaseIdFromMagnet(magnet);
    if (!releaseId) {
        return std::nullopt;
    }
    SeriesTorrent torrent;
    torrent.hash = qb::connection::entryMemberText(entry, "Hash");
    if (torrent.hash.isEmpty()) {
        return std::nullopt; // nothing could find or update it again
    }
    torrent.releaseId = *releaseId;
    torrent.files = static_cast<int>(
        std::min<size_t>(*files, static_cast<size_t>(std::numeric_limits<int>::max())));
    torrent.title = qb::connection::displayName(entry, {});
    return torrent;
}

QString markedRowText(const QString& rowText) {
    static const QString kMark = QStringLiteral("[update] ");
    return rowText.startsWith(kMark) ? rowText : kMark + rowText;
}

QString updatesFoundText(int count) {
    return u"Найдены обновленные торренты (" + QString::number(count) + u')';
}

QString updateListRow(const SeriesTorrent& torrent) {
    return torrent.title + u'^' + torrent.hash;
}
} // namespace qb::lists
