#include "search/adding/poster_check.h"

namespace qb::search {

QString posterCheckAddress(const QString& serviceBaseUrl, const QString& posterUrl) {
    return serviceBaseUrl + u"/check_poster.php?url=" + posterUrl;
}

QString checkedPoster(const QString& serviceBaseUrl, const QString& posterUrl, bool answered,
                      const QByteArray& body) {
    if (answered && !QString::fromUtf8(body).isEmpty()) {
        return posterUrl;
    }
    return serviceBaseUrl + u"/no-poster.jpg";
}

} // namespace qb::search
