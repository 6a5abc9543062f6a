#include "releaseinfo/page/info_cache.h"

#include <QDir>

using namespace Qt::Literals::StringLiterals;

namespace qb::releaseinfo {

PageSource pageSource(bool torrentSelected, QStringView selectedRowText, bool cacheFileExists) {
    if (torrentSelected && selectedRowText.contains(u"update]"_s)) {
        return PageSource::Build;
    }
    return cacheFileExists ? PageSource::Cache : PageSource::Build;
}

bool isReleaseId(QStringView id) {
    if (id.isEmpty() || id.size() > 20) {
        return false;
    }
    for (const QChar c : id) {
        if (c < u'0' || c > u'9') {
            return false;
        }
    }
    return true;
}

QString cacheFilePath(const QString& cacheDir, const QString& releaseId) {
    return cacheDir + releaseId + u".html"_s;
}

bool isAllowedViewAddress(const QUrl& address, const QString& cacheFolder) {
    if (address.scheme() != u"file"_s) {
        return true;
    }
    if (!address.host().isEmpty()) {
        return false; // a file on another machine
    }
    const QString path = QDir::cleanPath(address.toLocalFile());
    const QString folder = QDir::cleanPath(cacheFolder) + u"/"_s;
    return !address.toLocalFile().isEmpty() && path.startsWith(folder);
}

} // namespace qb::releaseinfo
