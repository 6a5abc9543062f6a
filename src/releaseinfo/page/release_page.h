#pragma once

#include "releaseinfo/page/page_hosts.h"

#include <QString>
#include <QStringView>

namespace qb::releaseinfo {

// The client's page of one release, and what the window keeps of it.
struct ReleasePage {
    QString html;
    QString magnet;    // the release's magnet link, as the tracker's page writes it
    QString posterUrl; // empty when the page has no poster
};

// Builds the page from the tracker's release page as the service relays it. Markers that the
// answer lacks leave their places empty; any answer gives a page.
ReleasePage buildReleasePage(QStringView answer, const PageHosts& hosts);

} // namespace qb::releaseinfo
