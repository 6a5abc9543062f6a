#include "search/adding/release_magnet.h"

#include "search/text/markers.h"

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace qb::search {

namespace {

// Ids beyond this are no tracker's; the limit keeps the number inside 64 bits.
constexpr qsizetype kMaxIdDigits = 18;

QString decodedAmpersands(QString magnet) {
    magnet.replace(u"&amp;"_s, u"&"_s, Qt::CaseInsensitive);
    return magnet;
}

// A magnet whose display name is not the tracker's form: its display name (or a new one) is
// set to the id form, so the release is still recognised and nothing else of the link is lost.
QString withDisplayName(const QString& magnet, const QString& name) {
    const qsizetype dn = magnet.indexOf(u"dn=");
    if (dn < 0) {
        return magnet + u"&dn=" + name;
    }
    const qsizetype start = dn + 3;
    const qsizetype end = magnet.indexOf(u'&', start);
    return magnet.first(start) + name + (end >= 0 ? magnet.sliced(end) : QString());
}

} // namespace

std::optional<QString> hexReleaseId(QStringView decimalId) {
    if (decimalId.isEmpty() || decimalId.size() > kMaxIdDigits ||
        !std::all_of(decimalId.begin(), decimalId.end(),
                     [](QChar c) { return c >= u'0' && c <= u'9'; })) {
        return std::nullopt;
    }
    return QString::number(decimalId.toULongLong(), 16).toUpper();
}

QString releaseIdOfPagePath(QStringView pagePath, QStringView marker) {
    return textBefore(cutThrough(pagePath, marker), u"/").toString();
}

std::optional<ReleaseLink> addedReleaseLink(const QString& pageMagnet, QStringView pagePath,
                                            QStringView trackerDomain) {
    ReleaseLink link{decodedAmpersands(pageMagnet), releaseIdOfPagePath(pagePath)};
    const std::optional<QString> hex = hexReleaseId(link.releaseId);
    if (!hex) {
        return std::nullopt;
    }
    link.magnet.replace(u"dn=" + trackerDomain, u"dn=id_" + *hex, Qt::CaseInsensitive);
    return link;
}

std::optional<QString> updatedReleaseMagnet(const QString& infoMagnet, QStringView releaseId,
                                            QStringView trackerDomain) {
    const std::optional<QString> hex = hexReleaseId(releaseId);
    if (!hex) {
        return std::nullopt;
    }
    const QString text = decodedAmpersands(infoMagnet);
    const QString name = u"dn=" + trackerDomain + u'_';
    const QString idName = u"dn=id_" + *hex;
    const qsizetype at = text.indexOf(name);
    if (at < 0) {
        return withDisplayName(text, u"id_" + *hex);
    }
    const qsizetype headEnd = at + name.size();
    // The trackers follow the display name with the "&" that joins them; a link without
    // trackers ends with the name.
    const qsizetype tracker = text.indexOf(u"tr=", headEnd);
    QString magnet = text.first(headEnd) + (tracker > 0 ? text.sliced(tracker - 1) : QString());
    magnet.replace(name, idName, Qt::CaseInsensitive);
    return magnet;
}

} // namespace qb::search
