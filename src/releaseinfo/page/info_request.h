#pragma once

#include <QString>

namespace qb::releaseinfo {

// The service's address of the tracker's page of a release.
QString releaseInfoAddress(const QString& serviceBaseUrl, const QString& releaseId);

} // namespace qb::releaseinfo
