// The information view's own events: a navigation about to start, a document loaded, and a
// page's request for a new window.
#include "app/tform1.h"
#include "releaseinfo/release_info.h"

#include "releaseinfo/info_view_page.h"
#include "releaseinfo/page/info_cache.h"
#include "releaseinfo/view_scripts.h"

#include <QWebEngineDownloadRequest>
#include <QWebEngineProfile>
#include <QWebEngineView>

using namespace Qt::Literals::StringLiterals;
using qb::releaseinfo::ReleaseInfo;

void ReleaseInfo::connectInfoViewEvents() {
    if (InfoViewStarted) {
        return;
    }
    InfoViewStarted = true;
    // The default profile is the one a view's own first page would have used.
    QWebEngineProfile* profile = QWebEngineProfile::defaultProfile();
    connect(
        profile, &QWebEngineProfile::downloadRequested, this,
        [this](QWebEngineDownloadRequest* download) { WebBrowser1DownloadRequested(download); });
    auto* page = new qb::releaseinfo::InfoViewPage(profile, Form.CacheDir(), Form.WebBrowser1);
    Form.WebBrowser1->setPage(page);
    connect(page, &qb::releaseinfo::InfoViewPage::navigating, this,
            [this](const QUrl& address) { WebBrowser1BeforeNavigate2(address); });
    // The handler reads from the page: it runs once the view has finished its own work.
    connect(page, &QWebEnginePage::loadFinished, this, [this, page](bool ok) {
        QMetaObject::invokeMethod(
            this, [this, address = page->url(), ok] { WebBrowser1DocumentComplete(address, ok); },
            Qt::QueuedConnection);
    });
    // The link's address is read from the page once the request has returned to the view.
    connect(
        page, &qb::releaseinfo::InfoViewPage::newWindowAsked, this,
        [this] { WebBrowser1NewWindow2(); }, Qt::QueuedConnection);
}

void ReleaseInfo::warmUpInfoView() {
    if (InfoViewStarted) {
        return;
    }
    connectInfoViewEvents();
    // Once an empty page has been shown, the idle page that follows goes out without waiting
    // for the renderer to start; no address is asked for.
    Form.WebBrowser1->setHtml(QString());
}

void ReleaseInfo::WebBrowser1BeforeNavigate2(const QUrl& address) {
    LastInfoId.clear();
    // The blank document that a page is written into is part of giving the view that page.
    if (address != QUrl(u"about:blank"_s)) {
        ++InfoPagesGiven;
    }
}

void ReleaseInfo::WebBrowser1DocumentComplete(const QUrl& address, bool ok) {
    if (!ok) {
        return;
    }
    if (address.toString().contains(u"abt.need"_s)) {
        // The idle page shows no scroll bars.
        qb::releaseinfo::setBodyStyle(Form.WebBrowser1, u"overflowX"_s, u"hidden"_s);
        qb::releaseinfo::setBodyStyle(Form.WebBrowser1, u"overflowY"_s, u"hidden"_s);
    }
    if (!PendingCachedPage.isEmpty() && address == PendingCachedPage) {
        PendingCachedPage.clear();
        // A cached page sets the poster only; a page without one leaves it as it was.
        if (const std::optional<QString> poster =
                qb::releaseinfo::firstImageAddress(Form.WebBrowser1)) {
            InfoPosterUrl = *poster;
        }
    }
}

void ReleaseInfo::WebBrowser1NewWindow2() {
    const std::optional<QString> href =
        qb::releaseinfo::activeElementAttribute(Form.WebBrowser1, u"href"_s);
    if (!href) {
        return; // a script's request: no address, nothing to open
    }
    // Only web addresses taken from a page are handed to the system's browser.
    const QUrl address(href->trimmed());
    if (qb::platform::isWebAddress(address)) {
        Form.platform().browser->open(address);
    }
}

void ReleaseInfo::takePosterAndMagnetFromView() {
    // Each value is read from the page on display; the first that cannot be read ends it.
    const std::optional<QString> poster = qb::releaseinfo::firstImageAddress(Form.WebBrowser1);
    if (!poster) {
        return;
    }
    InfoPosterUrl = *poster;
    if (const std::optional<QString> magnet =
            qb::releaseinfo::elementInnerHtml(Form.WebBrowser1, u"magnet"_s)) {
        InfoMagnet = *magnet;
    }
}
