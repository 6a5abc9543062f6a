#include "releaseinfo/view_scripts.h"

#include "app/workers/nested_loops.h"

#include <QEventLoop>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <memory>

using namespace Qt::Literals::StringLiterals;

namespace qb::releaseinfo {

namespace {
// The answer may arrive after the wait has given up; it then lands in this shared state and
// nowhere else.
struct ScriptAnswer {
    std::optional<QString> value;
    bool arrived = false;
    QEventLoop* loop = nullptr;
};
} // namespace

QString jsString(const QString& text) {
    // A JSON string is a valid JavaScript string literal.
    const QByteArray json = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(json.mid(1, json.size() - 2));
}

std::optional<QString> runViewScript(QWebEngineView* view, const QString& script, int timeoutMs) {
    if (view == nullptr || view->page() == nullptr) {
        return std::nullopt;
    }
    auto answer = std::make_shared<ScriptAnswer>();
    QEventLoop loop;
    answer->loop = &loop;
    view->page()->runJavaScript(script, [answer](const QVariant& result) {
        answer->arrived = true;
        if (result.isValid() && !result.isNull()) {
            answer->value = result.toString();
        }
        if (answer->loop != nullptr) {
            answer->loop->quit();
        }
    });
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    if (!answer->arrived) {
        qb::app::nestedLoopBegins(qb::app::NestedLoop::ViewScript);
        loop.exec();
    }
    answer->loop = nullptr;
    return answer->arrived ? answer->value : std::nullopt;
}

std::optional<QString> firstImageAddress(QWebEngineView* view) {
    return runViewScript(view, u"(function(){var i=document.images;"
                               u"return i.length>0?i[0].src:null;})()"_s);
}

std::optional<QString> elementInnerHtml(QWebEngineView* view, const QString& id) {
    return runViewScript(view, u"(function(){var e=document.getElementById("_s + jsString(id) +
                                   u");return e?e.innerHTML:null;})()"_s);
}

std::optional<QString> activeElementAttribute(QWebEngineView* view, const QString& name) {
    return runViewScript(view, u"(function(){var e=document.activeElement;"
                               u"return e&&e.hasAttribute("_s +
                                   jsString(name) + u")?e.getAttribute("_s + jsString(name) +
                                   u"):null;})()"_s);
}

bool setBodyStyle(QWebEngineView* view, const QString& name, const QString& value) {
    return runViewScript(view, u"(function(){var b=document.body;if(!b)return null;b.style["_s +
                                   jsString(name) + u"]="_s + jsString(value) +
                                   u";return 'set';})()"_s)
        .has_value();
}

bool writeDocument(QWebEngineView* view, const QString& html) {
    return runViewScript(view, u"(function(){document.open();document.write("_s + jsString(html) +
                                   u");document.close();return 'written';})()"_s)
        .has_value();
}

} // namespace qb::releaseinfo
