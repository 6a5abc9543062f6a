#include "releaseinfo/view_document.h"

#include "releaseinfo/view_scripts.h"

#include "app/workers/nested_loops.h"

#include <QEventLoop>
#include <QTimer>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineView>

using namespace Qt::Literals::StringLiterals;

namespace qb::releaseinfo {

namespace {

bool loadBlankDocument(QWebEngineView* view) {
    const QUrl blank(u"about:blank"_s);
    QEventLoop loop;
    bool loaded = false;
    // The end of a load stopped just before (the idle page, still on its way) may be reported
    // after this one has begun: only the blank page's own end counts, or the page written next
    // would go into a document about to be replaced.
    const QMetaObject::Connection done =
        QObject::connect(view->page(), &QWebEnginePage::loadFinished, &loop, [&](bool ok) {
            if (view->page()->url() != blank) {
                return;
            }
            loaded = ok;
            loop.quit();
        });
    QTimer::singleShot(kViewScriptTimeoutMs, &loop, &QEventLoop::quit);
    view->load(blank);
    qb::app::nestedLoopBegins(qb::app::NestedLoop::ViewScript);
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
