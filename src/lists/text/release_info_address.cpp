#include "lists/text/release_info_address.h"

namespace qb::lists {
QString releaseInfoAddress(const QString& serviceBaseUrl, const QString& releaseId) {
    return serviceBaseUrl + u"/get_info.php?secret=bqZanhMLfyKdoe&id=" + releaseId;
}
} // namespace qb::lists
