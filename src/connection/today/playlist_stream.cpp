#include "connection/today/playlist_stream.h"

#include <QUrlQuery>

namespace qb::connection::today {
namespace {
// The value of `name` in the query of a line; nothing when the line has no such parameter.
std::optional<QString> parameter(const QString& line, const QString& name) {
    const qsizetype question = line.indexOf(u'?');
    if (question < 0) {
        return std::nullopt;
    }
    const QUrlQuery query(line.mid(question + 1));
    if (!query.hasQueryItem(name)) {
        return std::nullopt;
    }
    return query.queryItemValue(name, QUrl::FullyDecoded);
}
} // namespace

std::optional<PlaylistStream> firstPlaylistStream(const QByteArray& playlist) {
    const QString text = QString::fromUtf8(playlist);
    for (const QStringView view : QStringView(text).split(u'\n')) {
        const QString line = view.trimmed().toString();
        if (line.startsWith(u'#')) {
            continue;
        }
        const std::optional<QString> hash = parameter(line, QStringLiteral("link"));
        const std::optional<QString> index = parameter(line, QStringLiteral("index"));
        if (!hash || !index || hash->isEmpty()) {
            continue;
        }
        bool ok = false;
        const long long id = index->toLongLong(&ok);
        if (ok) {
            return PlaylistStream{*hash, id};
        }
    }
    return std::nullopt;
}
} // namespace qb::connection::today
