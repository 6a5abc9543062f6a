#pragma once

#include <QString>

namespace qb::lists {
// The service's release information request for a decimal tracker release id.
QString releaseInfoAddress(const QString& serviceBaseUrl, const QString& releaseId);
} // namespace qb::lists
