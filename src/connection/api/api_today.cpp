#include "connection/api/api_today.h"

#include "connection/api/failure_text.h"
#include "connection/api/list_limits.h"
#include "connection/http/http_client.h"
#include "connection/http/json_value_text.h"
#include "connection/list/member_text.h"
#include "connection/today/client_entry.h"
#include "connection/today/playlist_stream.h"
#include "connection/today/release_data.h"
#include "connection/today/today_addresses.h"
#include "connection/today/today_bodies.h"
#include "connection/today/today_list.h"
#include "connection/today/viewed_marks.h"
#include "playback/preload/preload_link.h"
#include "playback/preload/today_stat_answer.h"

using namespace Qt::Literals::StringLiterals;

namespace qb::connection {
namespace {
const QString kPosterMarker = u"&as="_s;

// The file a preload of a whole torrent or a search result reads: the first stream of the
// playlist the player opens, which names the torrent by the hash the server knows it by.
PreloadTarget firstStreamTarget(const PreloadSource& source, const QString& fallbackHash) {
    if (const auto stream = today::firstPlaylistStream(source.playerPlaylist)) {
        return {today::preloadAddress(stream->hash, stream->fileId), stream->hash};
    }
    return {today::preloadAddress(fallbackHash), fallbackHash};
}

long long fileIdOf(const nlohmann::ordered_json& file) {
    if (!file.is_object()) {
        return 0;
    }
    const auto id = file.find("Id");
    return id != file.end() && id->is_number_integer() ? id->get<long long>() : 0;
}
} // namespace

net::HttpResult ApiToday::torrents(const QString& base, const QByteArray& body,
                                   const QString& what) {
    return explainedFailure(General_.post(base + u"/torrents"_s, body), what);
}

net::HttpResult ApiToday::add(const QString& base, const QString& link, const QString& title,
                              const QString& poster, const QString& releaseId) {
    const today::MarkedLink marked = today::takeReleaseMarker(link);
    const QString id = releaseId.isEmpty() ? marked.releaseId : releaseId;
    // A release keeps its magnet, display name and trackers as added, for the list's magnet.
    const QString data =
        today::releaseDataText({id, poster, marked.releaseId.isEmpty() ? QString() : link});
    net::HttpResult answer = torrents(base, today::addBody({marked.link, title, poster, data}),
                                      u"Сервер не добавил торрент"_s);
    if (answer.ok && !data.isEmpty()) {
        // The server answers with the torrent's status, its hash among it.
        if (const auto status = parseJsonAnswer(answer.body)) {
            Recorder_.watch(base, entryMemberText(*status, "hash"));
        }
    }
    return answer;
}

TorrServerApi::ListReply ApiToday::list(const QString& base) {
    ListReply reply{explainedFailure(General_.post(base + u"/torrents"_s, today::listBody(),
                                                   listLimits(General_)),
                                     u"Сервер не выдал список торрентов"_s),
                    {}};
    if (reply.answer.ok) {
        // The files played before are marked in the file list. Without the marks (an older
        // server, a refusal) the list shows none.
        const net::HttpResult viewed =
            General_.post(base + u"/viewed"_s, today::viewedListBody(), listLimits(General_));
        if (viewed.ok) {
            reply.viewed = viewed.body;
        }
    }
    return reply;
}

ServerListRead ApiToday::readList(const ListReply& reply) const {
    if (reply.viewed.isEmpty()) {
        return readServerList(reply.answer.body, today::kListDialect);
    }
    auto marks = std::make_shared<const today::ViewedMarks>(today::readViewedMarks(reply.viewed));
    return readServerList(reply.answer.body, today::kListDialect,
                          [marks](const nlohmann::ordered_json& status) {
                              nlohmann::ordered_json entry = today::clientEntry(status);
                              const auto found = marks->find(entryMemberText(entry, "Hash"));
                              if (found != marks->end()) {
                                  today::markViewedFiles(entry, *found);
                              }
                              return entry;
                          });
}

net::HttpResult ApiToday::addLink(const QString& base, const QString& link) {
    return add(base, link, {}, {}, {});
}

net::HttpResult ApiToday::addRelease(const QString& base, const ReleaseAdd& release) {
    return add(base, release.magnet, release.title, release.poster, release.releaseId);
}

net::HttpResult ApiToday::addListLine(const QString& base, const ListLineAdd& line) {
    // The poster the line names after "&as=" goes as the torrent's poster, not in its link.
    const qsizetype marker = line.line.indexOf(kPosterMarker);
    const QString link = marker < 0 ? line.line : line.line.left(marker);
    return add(base, link, line.title, line.withPoster ? line.poster : QString(), {});
}

net::HttpResult ApiToday::upload(const QString& base, const QString& fileName,
                                 const QByteArray& content) {
    // Without the "save" field the server would keep the torrent only until it closes it.
    return explainedFailure(General_.postMultipart(base + u"/torrent/upload"_s, u"file"_s, fileName,
                                                   content, {{u"save"_s, u"true"_s}}),
                            u"Сервер не принял торрент-файл"_s);
}

net::HttpResult ApiToday::remove(const QString& base, const QString& hash) {
    return torrents(base, today::removeBody(hash), u"Сервер не удалил торрент"_s);
}

net::HttpResult ApiToday::playlist(const QString& base, const nlohmann::ordered_json& entry) {
    return explainedFailure(
        General_.get(base + today::playlistAddress(entryMemberText(entry, "Hash"))),
        u"Сервер не выдал плейлист торрента"_s);
}

net::HttpResult ApiToday::playWithoutAdding(const QString& base, const QString& magnet) {
    // A magnet from the tracker's page joins its parameters with "&amp;": the server reads the
    // link as it arrives, so it gets the plain "&" that keeps the trackers.
    const QString link = QString(magnet).replace(u"&amp;"_s, u"&"_s, Qt::CaseInsensitive);
    return explainedFailure(General_.get(base + today::playWithoutAddingAddress(link)),
                            u"Сервер не выдал плейлист раздачи"_s);
}

PreloadTarget ApiToday::preloadTarget(const PreloadSource& source) const {
    using Kind = PreloadSource::Kind;
    const QString hash = entryMemberText(source.entry, "Hash");
    switch (source.kind) {
    case Kind::Search:
        return firstStreamTarget(source, playback::searchInfoHash(source.magnet));
    case Kind::Files:
        return {today::preloadAddress(hash, fileIdOf(source.file)), hash};
    case Kind::Torrent:
        break;
    }
    return firstStreamTarget(source, hash);
}

net::HttpResult ApiToday::preload(const QString& base, const QString& path) {
    return Preload_.get(base + path);
}

net::HttpResult ApiToday::preloadState(const QString& base, const QString& hash) {
    return torrents(base, today::getBody(hash), u"Сервер не сообщил состояние торрента"_s);
}

std::optional<playback::PreloadStat> ApiToday::readPreloadState(const QByteArray& answer) const {
    return playback::readTodayStatAnswer(answer);
}

QString ApiToday::fileAddress(const QString& base, const nlohmann::ordered_json& file) const {
    return base + entryMemberText(file, "Link");
}

QString ApiToday::allPlaylistAddress(const QString& base) const {
    return base + today::allPlaylistAddress();
}

QString ApiToday::pageAddress(const QString& base, ServerPage) const {
    return base + today::webInterfaceAddress();
}

} // namespace qb::connection
