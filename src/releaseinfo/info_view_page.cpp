#include "releaseinfo/info_view_page.h"

#include "releaseinfo/page/info_cache.h"

#include <QWebEngineSettings>
#include <QWebEngineUrlRequestInfo>

using namespace Qt::Literals::StringLiterals;

namespace qb::releaseinfo {

namespace {

bool isFileAddress(const QUrl& address) {
    return address.scheme() == u"file"_s;
}

} // namespace

void FilePageRequests::interceptRequest(QWebEngineUrlRequestInfo& info) {
    if (!isFileAddress(info.firstPartyUrl())) {
        return;
    }
    switch (info.resourceType()) {
    case QWebEngineUrlRequestInfo::ResourceTypeMainFrame:
    case QWebEngineUrlRequestInfo::ResourceTypeImage:
    case QWebEngineUrlRequestInfo::ResourceTypeStylesheet:
    case QWebEngineUrlRequestInfo::ResourceTypeFontResource:
    case QWebEngineUrlRequestInfo::ResourceTypeFavicon:
        return;
    default:
        info.block(true);
    }
}

InfoViewPage::InfoViewPage(QWebEngineProfile* profile, const QString& cacheFolder, QObject* parent)
    : QWebEnginePage(profile, parent)
    , cacheFolder_(cacheFolder) {
    QWebEngineSettings* s = settings();
    s->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, false);
    // A cached page shows its poster, ratings and screenshots from their web addresses.
    s->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, true);
    s->setAttribute(QWebEngineSettings::JavascriptEnabled, true);
    // A page shown for a clicked row leaves the keyboard focus on that list, whose shortcuts
    // act on the row right away.
    s->setAttribute(QWebEngineSettings::FocusOnNavigationEnabled, false);
    setUrlRequestInterceptor(&requests_);
}

bool InfoViewPage::acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) {
    if (!isAllowedViewAddress(url, cacheFolder_)) {
        return false;
    }
    if (isFileAddress(this->url()) && type != NavigationTypeTyped &&
        type != NavigationTypeLinkClicked) {
        return false; // a cached page's script or form does not move the view
    }
    if (isMainFrame) {
        emit navigating(url);
    }
    return true;
}

QWebEnginePage* InfoViewPage::createWindow(WebWindowType) {
    emit newWindowAsked();
    return nullptr;
}

} // namespace qb::releaseinfo
