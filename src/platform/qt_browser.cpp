#include "platform/qt_browser.h"

#include <QDesktopServices>

using namespace Qt::Literals::StringLiterals;

namespace qb::platform {

bool isWebAddress(const QUrl& address) {
    if (!address.isValid() || address.host().isEmpty()) {
        return false;
    }
    const QString scheme = address.scheme();
    return scheme.compare(u"http"_s, Qt::CaseInsensitive) == 0 ||
           scheme.compare(u"https"_s, Qt::CaseInsensitive) == 0;
}

bool isOpenableAddress(const QUrl& address) {
    if (isWebAddress(address)) {
        return true;
    }
    return address.isValid() && address.isLocalFile();
}

void QtBrowser::open(const QUrl& address) {
    if (isOpenableAddress(address)) {
        QDesktopServices::openUrl(address);
    }
}

} // namespace qb::platform
