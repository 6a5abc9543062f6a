// The release information page: shown from the cache folder when the release was built before,
// otherwise fetched through the service, built, shown and cached.
#include "app/app_core.h"
#include "app/tform1.h"
#include "releaseinfo/release_info.h"

#include "build_config.h"
#include "connection/http/http_client.h"
#include "platform/text/text_file.h"
#include "releaseinfo/page/info_cache.h"
#include "releaseinfo/page/info_request.h"
#include "releaseinfo/page/page_layout.h"
#include "releaseinfo/page/release_page.h"
#include "releaseinfo/view_document.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QListWidget>
#include <QWebEngineView>

using namespace Qt::Literals::StringLiterals;
using qb::releaseinfo::ReleaseInfo;

namespace {

QString errorPage() {
    return qb::releaseinfo::errorPageHtml(QString::fromLatin1(qb::build::kDefaultServiceUrl));
}

} // namespace

void ReleaseInfo::ShowReleaseInfo(const QString& selectedId) {
    // Callers pass SelectedReleaseId itself, which a click inside the view's waits changes:
    // the page built here must keep the id it was asked for.
    const QString releaseId = selectedId;
    connectInfoViewEvents();
    // A list whose row was just clicked keeps the keyboard focus, so that its shortcuts act on
    // that row at once; from anywhere else the focus leaves the controls.
    if (!Form.TorrentList->hasFocus() && !Form.SearchResult->hasFocus()) {
        Form.takeFocusFromControls();
    }
    if (releaseId == LastInfoId) {
        return; // that page is on display
    }
    if (!qb::releaseinfo::isReleaseId(releaseId)) {
        // Only decimal ids are asked for and cached: any other text could reach into the
        // service's query or out of the cache folder.
        qb::releaseinfo::writeIntoView(Form.WebBrowser1, errorPage());
        return;
    }
    const QString cacheFile = qb::releaseinfo::cacheFilePath(Form.CacheDir(), releaseId);
    const QList<QListWidgetItem*> selected = Form.TorrentList->selectedItems();
    const auto source = qb::releaseinfo::pageSource(
        !selected.isEmpty(), selected.isEmpty() ? QString() : selected.first()->text(),
        QFileInfo(cacheFile).isFile());
    if (source == qb::releaseinfo::PageSource::Cache) {
        // The poster is read once the page has loaded (WebBrowser1DocumentComplete).
        PendingCachedPage = QUrl::fromLocalFile(cacheFile);
        Form.WebBrowser1->load(PendingCachedPage);
        return;
    }
    buildReleaseInfo(releaseId);
}

void ReleaseInfo::buildReleaseInfo(const QString& releaseId) {
    // Until the new page is built no release is on display: a failed build must not leave the
    // magnet of an earlier release for the update to add in place of this one.
    InfoMagnet.clear();
    InfoPosterUrl.clear();
    const qb::net::HttpResult answer = Form.netHttpClient1()->get(
        qb::releaseinfo::releaseInfoAddress(Form.core().serviceBaseUrl(), releaseId));
    // The answer is the tracker's page whatever its status; a failed request counts as empty.
    const QString text = answer.ok ? QString::fromUtf8(answer.body) : QString();
    if (text.isEmpty()) {
        qb::releaseinfo::writeIntoView(Form.WebBrowser1, errorPage());
        return; // LastInfoId stays as it was, so the next selection tries again
    }
    const qb::releaseinfo::ReleasePage page = qb::releaseinfo::buildReleasePage(
        text, qb::releaseinfo::buildPageHosts(Form.core().serviceBaseUrl()));
    InfoMagnet = page.magnet;
    InfoPosterUrl = page.posterUrl;
    PendingCachedPage.clear();
    const quint64 given = ++InfoPagesGiven;
    qb::releaseinfo::writeIntoView(Form.WebBrowser1, page.html);
    // Other handlers ran while the page was written; one may have put up a page of its own.
    if (InfoPagesGiven == given) {
        LastInfoId = releaseId;
    }
    cacheReleasePage(releaseId, page.html);
}

void ReleaseInfo::cacheReleasePage(const QString& releaseId, const QString& html) {
    const QFileInfo folder(Form.CacheDir());
    if (!folder.isDir()) {
        return; // no cache folder, no cache
    }
    // The page text itself, in UTF-8 with a byte-order mark, which the view reads back as such.
    const QString path = qb::releaseinfo::cacheFilePath(Form.CacheDir(), releaseId);
    if (!qb::platform::writeUtf8BomTextFile(path, html)) {
        Form.message(u"Не удается записать файл "_s + QDir::toNativeSeparators(path),
                     QGuiApplication::applicationDisplayName(), qb::platform::MessageIcon::Error);
    }
}
