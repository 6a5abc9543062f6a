#pragma once

#include <QString>

namespace qb::releaseinfo {

// The addresses a release page refers to besides the tracker's own.
struct PageHosts {
    QString serviceBaseUrl;   // the search service, for the placeholder poster
    QString trackerImageHost; // host of the tracker's rating images
    QString filmDbHost;       // host of the film database, for its rating and the cast links
};

// The hosts this build was made for, with the configured service.
PageHosts buildPageHosts(const QString& serviceBaseUrl);

} // namespace qb::releaseinfo
