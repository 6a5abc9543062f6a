#include "playback/playlist/file_playlist.h"

#include "connection/list/file_rows.h"
#include "connection/list/member_text.h"

using namespace Qt::Literals::StringLiterals;

namespace qb::playback {

QString filePlaylistAddress(const QString& base, const QString& link, int fileIndex) {
    return base + QString(link).replace(u"&file=0"_s, u"&file="_s + QString::number(fileIndex),
                                        Qt::CaseInsensitive);
}

namespace {

// A name or address from the server stays on its own line: a line break inside one would add
// lines of the server's choosing to the player's list.
QString oneLine(QString text) {
    return text.replace(u'\r', u' ').replace(u'\n', u' ');
}

} // namespace

QByteArray filePlaylistBytes(const QString& base, const nlohmann::ordered_json& files,
                             const QList<int>& fileIndexes) {
    QString text = u"#EXTM3U\r\n"_s;
    for (const int index : fileIndexes) {
        if (!files.is_array() || index < 0 || static_cast<size_t>(index) >= files.size()) {
            continue;
        }
        const auto& file = files[static_cast<size_t>(index)];
        text +=
            u"#EXTINF:0, "_s +
            oneLine(connection::nameWithoutFolder(connection::entryMemberText(file, "Name"))) +
            u"\r\n"_s +
            oneLine(filePlaylistAddress(base, connection::entryMemberText(file, "Link"), index)) +
            u"\r\n"_s;
    }
    return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
}

QString playlistFileName(const QString& torrentName) {
    const qsizetype dot = torrentName.lastIndexOf(u'.');
    return dot < 0 ? torrentName : torrentName.left(dot);
}
} // namespace qb::playback
