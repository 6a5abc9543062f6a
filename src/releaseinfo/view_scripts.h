#pragma once

#include <QString>

#include <optional>

class QWebEngineView;

// Reads from the document that the information view shows. Each read is a script whose answer
// is awaited, with a time limit, while the window's events keep flowing; a read fails (nullopt)
// when the page gives no such value or no answer in time.
namespace qb::releaseinfo {

inline constexpr int kViewScriptTimeoutMs = 3000;

std::optional<QString> runViewScript(QWebEngineView* view, const QString& script,
                                     int timeoutMs = kViewScriptTimeoutMs);
// The address ("src") of the document's first image.
std::optional<QString> firstImageAddress(QWebEngineView* view);
// The inner HTML of the element with this id.
std::optional<QString> elementInnerHtml(QWebEngineView* view, const QString& id);
// An attribute of the document's active element, as written in the page.
std::optional<QString> activeElementAttribute(QWebEngineView* view, const QString& name);
// Sets a style value of the document's body; false when the page has no body or gave no answer.
bool setBodyStyle(QWebEngineView* view, const QString& name, const QString& value);
// Replaces the document with `html` in place: the view does not navigate. False when the
// document could not be written.
bool writeDocument(QWebEngineView* view, const QString& html);
// A JavaScript string literal of `text`.
QString jsString(const QString& text);

} // namespace qb::releaseinfo
