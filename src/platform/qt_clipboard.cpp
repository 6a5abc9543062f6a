#include "platform/qt_clipboard.h"

#include <QClipboard>
#include <QGuiApplication>

namespace qb::platform {

void QtClipboard::setText(const QString& text) {
    QGuiApplication::clipboard()->setText(text);
}

QString QtClipboard::text() {
    return QGuiApplication::clipboard()->text();
}

} // namespace qb::platform
