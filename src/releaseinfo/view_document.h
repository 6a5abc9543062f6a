#pragma once

#include <QString>

class QWebEngineView;

namespace qb::releaseinfo {

// Shows `html` in the view without a navigation, as the document it holds. A view without a
// document, or with one that cannot be written (the view's own error page), is given a blank
// document first. False when nothing could be written in time.
bool writeIntoView(QWebEngineView* view, const QString& html);

} // namespace qb::releaseinfo
