#include "releaseinfo/page/info_request.h"

using namespace Qt::Literals::StringLiterals;

namespace qb::releaseinfo {

QString releaseInfoAddress(const QString& serviceBaseUrl, const QString& releaseId) {
    return serviceBaseUrl + u"/get_info.php?secret=bqZanhMLfyKdoe&id="_s + releaseId;
}

} // namespace qb::releaseinfo
