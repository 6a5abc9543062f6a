#include "connection/today/url_escape.h"

#include <QByteArray>

namespace qb::connection::today {
namespace {
bool unreserved(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '_' || c == '.' || c == '~';
}

template <typename Keep> QString escaped(const QString& text, Keep keep, bool blankAsPlus) {
    static const char kHex[] = "0123456789ABCDEF";
    const QByteArray bytes = text.toUtf8();
    QByteArray out;
    out.reserve(bytes.size() * 3);
    for (const char c : bytes) {
        if (unreserved(c) || keep(c)) {
            out += c;
        } else if (c == ' ' && blankAsPlus) {
            out += '+';
        } else {
            const auto byte = static_cast<unsigned char>(c);
            out += '%';
            out += kHex[byte >> 4];
            out += kHex[byte & 0xF];
        }
    }
    return QString::fromLatin1(out);
}
} // namespace

QString pathEscape(const QString& segment) {
    return escaped(
        segment,
        [](char c) { return c == '$' || c == '&' || c == '+' || c == ':' || c == '=' || c == '@'; },
        false);
}

QString queryEscape(const QString& value) {
    return escaped(
        value, [](char) { return false; }, true);
}

} // namespace qb::connection::today
