#include "search/text/url_encoding.h"

#include <QByteArray>

namespace qb::search {
namespace {
bool passesUnchanged(char c) {
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'))
        return true;
    switch (c) {
    case '!':
    case '$':
    case '\'':
    case '(':
    case ')':
    case '*':
    case '-':
    case '.':
    case '@':
    case '_':
        return true;
    default:
        return false;
    }
}
} // namespace

QString urlEncode(const QString& text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    // A lone surrogate has no UTF-8 form; toUtf8 writes it as U+FFFD, as the service expects
    // of text it cannot read.
    const QByteArray bytes = text.toUtf8();
    QByteArray out;
    out.reserve(bytes.size() * 3);
    for (const char c : bytes) {
        if (passesUnchanged(c)) {
            out.append(c);
        } else if (c == ' ') {
            out.append('+');
        } else {
            const auto b = static_cast<unsigned char>(c);
            out.append('%');
            out.append(kHex[b >> 4]);
            out.append(kHex[b & 0x0F]);
        }
    }
    return QString::fromLatin1(out);
}
} // namespace qb::search
