#include "app/settings/password_mask.h"

#include <QRegularExpression>

namespace qb::app {

QString withoutPasswords(const QString& text) {
    if (!text.contains(u'@')) {
        return text;
    }
    // A user name: a run without blanks, quotes, "/", ":" or "@", starting the text, a word or
    // an address's authority. The password runs from the ":" after it to the last "@" before the
    // host, and may itself hold ":" or "@" when the user typed them unencoded.
    static const QRegularExpression credentials(
        QStringLiteral(R"((^|[\s"'<(\[=]|://)([^\s"'<>/:@]*):[^\s"'<>/]*@)"));
    QString masked = text;
    masked.replace(credentials, QStringLiteral("\\1\\2:***@"));
    return masked;
}

} // namespace qb::app
