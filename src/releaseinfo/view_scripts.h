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

} // namespace qb::releaseinfo
