#include "releaseinfo/view_scripts.h"

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

QString jsString(const QString& text) {
    // A JSON string is a valid JavaScript string literal.
    const QByteArray json = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(json.mid(1, json.size() - 2));
}
} // namespace

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

} // namespace qb::releaseinfo
