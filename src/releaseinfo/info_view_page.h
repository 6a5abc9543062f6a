#pragma once

#include <QString>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineUrlRequestInterceptor>

namespace qb::releaseinfo {

// What a page loaded from a file (a cached release page) may fetch: its pictures and styles, and
// nothing else. Its scripts cannot send requests, frames or pings, so a cached page can never
// reach the user's local services.
class FilePageRequests : public QWebEngineUrlRequestInterceptor {
    Q_OBJECT

public:
    using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;
    void interceptRequest(QWebEngineUrlRequestInfo& info) override;
};

// The information view's page. It reports every navigation it lets go ahead and every request
// for a new window, and holds what the view's pages may do:
// - pages loaded from files read no other files; the only files it loads are those of the
//   cache folder;
// - a page loaded from a file navigates only by a link the user follows;
// - a request for a new window opens none in the view.
class InfoViewPage : public QWebEnginePage {
    Q_OBJECT

public:
    InfoViewPage(QWebEngineProfile* profile, const QString& cacheFolder, QObject* parent);

signals:
    void navigating(const QUrl& address);
    void newWindowAsked();

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;
    QWebEnginePage* createWindow(WebWindowType type) override;

private:
    QString cacheFolder_;
    FilePageRequests requests_;
};

} // namespace qb::releaseinfo
