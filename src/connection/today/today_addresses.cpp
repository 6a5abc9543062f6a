#include "connection/today/today_addresses.h"

#include "connection/today/url_escape.h"

using namespace Qt::Literals::StringLiterals;

namespace qb::connection::today {

QString playlistAddress(const QString& hash) {
    return u"/playlist?hash="_s + queryEscape(hash);
}

QString streamAddress(const QString& hash, const QString& path, long long id) {
    return u"/stream/"_s + pathEscape(baseName(path)) + u"?link="_s + queryEscape(hash) +
           u"&index="_s + QString::number(id) + u"&play"_s;
}

QString preloadAddress(const QString& hash, long long id) {
    return u"/stream?link="_s + queryEscape(hash) + u"&index="_s + QString::number(id) +
           u"&preload"_s;
}

QString preloadAddress(const QString& hash) {
    return u"/stream?link="_s + queryEscape(hash) + u"&preload"_s;
}

QString playWithoutAddingAddress(const QString& magnet) {
    return u"/stream/play.m3u?link="_s + queryEscape(queryEscape(magnet)) + u"&m3u"_s;
}

QString allPlaylistAddress() {
    return u"/playlistall/all.m3u"_s;
}

QString webInterfaceAddress() {
    return u"/"_s;
}

QString magnetOf(const QString& hash, const QString& displayName) {
    QString magnet = u"magnet:?xt=urn:btih:"_s + queryEscape(hash);
    if (!displayName.isEmpty()) {
        magnet += u"&dn="_s + queryEscape(displayName);
    }
    return magnet;
}

QString baseName(const QString& path) {
    return path.section(u'/', -1);
}

} // namespace qb::connection::today
