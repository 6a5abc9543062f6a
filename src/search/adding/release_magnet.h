#pragma once

#include <QString>
#include <QStringView>

#include <optional>

// The magnet link a tracker release is added with: its display name becomes "id_" + the
// release id in upper-case hexadecimal, the form the torrent list recognises.
namespace qb::search {

// "77" gives "4D", "255" gives "FF"; nothing for a text that is not a decimal number.
std::optional<QString> hexReleaseId(QStringView decimalId);

// The release id of a result's page path, the text between `marker` and the next "/":
// "/torrent/77/q" gives "77".
QString releaseIdOfPagePath(QStringView pagePath, QStringView marker = u"t/");

struct ReleaseLink {
    QString magnet;
    QString releaseId; // decimal
};

// A search result: the page's magnet (with its "&amp;") whose display name
// "dn=" + tracker domain is rewritten. Nothing when the page path holds no decimal id.
std::optional<ReleaseLink> addedReleaseLink(const QString& pageMagnet, QStringView pagePath,
                                            QStringView trackerDomain);

// A newer release of a series, from the magnet of its information page (display name
// "dn=" + tracker domain + "_" + name): whatever followed the domain's "_" up to the first
// tracker parameter is dropped. Nothing when the id is not a decimal number.
std::optional<QString> updatedReleaseMagnet(const QString& infoMagnet, QStringView releaseId,
                                            QStringView trackerDomain);

} // namespace qb::search
