#include "releaseinfo/page/page_hosts.h"

#include "build_config.h"

namespace qb::releaseinfo {

PageHosts buildPageHosts(const QString& serviceBaseUrl) {
    return {serviceBaseUrl, QString::fromLatin1(qb::build::kTrackerImageHost),
            QString::fromLatin1(qb::build::kFilmDbHost)};
}

} // namespace qb::releaseinfo
