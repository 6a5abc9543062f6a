#include "releaseinfo/view_document.h"

#include "releaseinfo/view_scripts.h"

#include <QEventLoop>
#include <QTimer>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineView>

using namespace Qt::Literals::StringLiterals;

namespace qb::releaseinfo {

namespace {

bool loadBlankDocument(QWebEngineView* view) {
    QEventLoop loop;
    bool loaded = false;
    const QMetaObject::Connection done =
        QObject::connect(view->page(), &QWebEnginePage::loadFinished, &loop, [&](bool ok) {
            loaded = ok;
            loop.quit();
        });
    QTimer::singleShot(kViewScriptTimeoutMs, &loop, &QEventLoop::quit);
    view->load(QUrl(u"about:blank"_s));
    loop.exec();
    QObject::disconnect(done);
    return loaded;
}

} // namespace

bool writeIntoView(QWebEngineView* view, const QString& html) {
    // A load still on its way would replace the page written now.
    if (view->page()->isLoading()) {
        view->stop();
    }
    if (!view->url().isEmpty() && writeDocument(view, html)) {
        return true;
    }
    return loadBlankDocument(view) && writeDocument(view, html);
}

} // namespace qb::releaseinfo
