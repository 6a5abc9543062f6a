#pragma once

#include <QByteArray>
#include <QString>

// The service's check of a poster address before a release is added with it.
namespace qb::search {

// The address of the check; the poster address goes in as it stands.
QString posterCheckAddress(const QString& serviceBaseUrl, const QString& posterUrl);

// The poster a release is added with: the checked one when the service answered with a
// non-empty body, else the service's placeholder.
QString checkedPoster(const QString& serviceBaseUrl, const QString& posterUrl, bool answered,
                      const QByteArray& body);

} // namespace qb::search
