#include "connection/api/api_11.h"

#include "connection/api/list_limits.h"
#include "connection/http/http_client.h"
#include "connection/http/request_bodies.h"
#include "connection/list/member_text.h"
#include "playback/preload/preload_link.h"
#include "search/text/url_encoding.h"

using namespace Qt::Literals::StringLiterals;

namespace qb::connection {

TorrServerApi::ListReply Api11::list(const QString& base) {
    return {General_.post(base + u"/torrent/list"_s, QByteArray(), listLimits(General_)), {}};
}

ServerListRead Api11::readList(const ListReply& reply) const {
    return readServerList(reply.answer.body);
}

net::HttpResult Api11::addLink(const QString& base, const QString& link) {
    return General_.post(base + u"/torrent/add"_s, linkBody(link));
}

net::HttpResult Api11::addRelease(const QString& base, const ReleaseAdd& release) {
    return General_.post(base + u"/torrent/add"_s,
                         infoBody(release.magnet, release.releaseId, release.poster));
}

net::HttpResult Api11::addListLine(const QString& base, const ListLineAdd& line) {
    return General_.post(base + u"/torrent/add"_s,
                         listBody(line.line, line.poster, line.withPoster));
}

net::HttpResult Api11::upload(const QString& base, const QString& fileName,
                              const QByteArray& content) {
    return General_.postMultipart(base + u"/torrent/upload"_s, u"filename"_s, fileName, content);
}

net::HttpResult Api11::remove(const QString& base, const QString& hash) {
    return General_.post(base + u"/torrent/rem"_s, removeBody(hash));
}

net::HttpResult Api11::playlist(const QString& base, const nlohmann::ordered_json& entry) {
    return General_.get(base + entryMemberText(entry, "Playlist"));
}

net::HttpResult Api11::playWithoutAdding(const QString& base, const QString& magnet) {
    return General_.get(base + u"/torrent/play?link="_s + search::urlEncode(magnet) +
                        u"&m3u=true&save=false"_s);
}

PreloadTarget Api11::preloadTarget(const PreloadSource& source) const {
    using Kind = PreloadSource::Kind;
    switch (source.kind) {
    case Kind::Search:
        return {playback::searchPreloadLink(source.magnet),
                playback::searchInfoHash(source.magnet)};
    case Kind::Files:
        return {playback::filePreloadLink(entryMemberText(source.file, "Preload")),
                playback::playlistInfoHash(entryMemberText(source.entry, "Playlist"))};
    case Kind::Torrent:
        break;
    }
    return {playback::torrentPreloadLink(entryMemberText(source.entry, "Playlist")),
            entryMemberText(source.entry, "Hash")};
}

net::HttpResult Api11::preload(const QString& base, const QString& path) {
    return Preload_.get(base + path);
}

net::HttpResult Api11::preloadState(const QString& base, const QString& hash) {
    return General_.post(base + u"/torrent/stat"_s, statBody(hash));
}

std::optional<playback::PreloadStat> Api11::readPreloadState(const QByteArray& answer) const {
    return playback::readStatAnswer(answer);
}

QString Api11::fileAddress(const QString& base, const nlohmann::ordered_json& file) const {
    return base + entryMemberText(file, "Link");
}

QString Api11::allPlaylistAddress(const QString& base) const {
    return base + u"/torrent/playlist.m3u"_s;
}

QString Api11::pageAddress(const QString& base, ServerPage page) const {
    switch (page) {
    case ServerPage::Statistics:
        return base + u"/stat"_s;
    case ServerPage::Cache:
        return base + u"/cache"_s;
    case ServerPage::Settings:
        break;
    }
    return base + u"/settings"_s;
}

} // namespace qb::connection
