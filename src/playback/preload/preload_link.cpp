#include "playback/preload/preload_link.h"

#include "playback/text/url_decoding.h"
#include "search/text/url_encoding.h"

using namespace Qt::Literals::StringLiterals;

namespace qb::playback {
namespace {
QString preloadForm(QString link) {
    return link.replace(u"&m3u=true"_s, u"&file=0&preload=true"_s, Qt::CaseInsensitive);
}

QString withoutAmpEquals(QString link) {
    return link.remove(u"&amp="_s, Qt::CaseInsensitive);
}

// A magnet from a tracker's page ends its hash at "&amp;", a decoded playlist at "&": the
// first "&" after the marker ends it in both.
QString hashAfterMarker(const QString& text) {
    static const QString kMarker = u"urn:btih:"_s;
    const qsizetype at = text.indexOf(kMarker);
    if (at < 0) {
        return {};
    }
    const QString rest = text.mid(at + kMarker.size());
    return rest.left(rest.indexOf(u'&'));
}
} // namespace

QString torrentPreloadLink(const QString& playlist) {
    return withoutAmpEquals(preloadForm(urlDecode(playlist)));
}

QString searchPreloadLink(const QString& magnet) {
    return withoutAmpEquals(
        preloadForm(u"/torrent/play?link="_s + qb::search::urlEncode(magnet) + u"&m3u=true"_s));
}

QString filePreloadLink(const QString& preload) {
    return withoutAmpEquals(urlDecode(preload));
}

QString searchInfoHash(const QString& magnet) {
    return hashAfterMarker(magnet);
}

QString playlistInfoHash(const QString& playlist) {
    return hashAfterMarker(urlDecode(playlist));
}
} // namespace qb::playback
