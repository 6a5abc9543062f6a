#include "playback/text/url_decoding.h"

#include <QByteArray>

namespace qb::playback {
namespace {
int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}
} // namespace

QString urlDecode(const QString& text) {
    const QByteArray in = text.toUtf8();
    QByteArray out;
    out.reserve(in.size());
    for (qsizetype i = 0; i < in.size(); ++i) {
        const char c = in[i];
        if (c == '+') {
            out.append(' ');
        } else if (c == '%' && i + 1 < in.size() && in[i + 1] == '%') {
            out.append('%');
            ++i;
        } else if (c == '%' && i + 2 < in.size() && hexValue(in[i + 1]) >= 0 &&
                   hexValue(in[i + 2]) >= 0) {
            out.append(static_cast<char>(hexValue(in[i + 1]) * 16 + hexValue(in[i + 2])));
            i += 2;
        } else {
            out.append(c);
        }
    }
    return QString::fromUtf8(out);
}
} // namespace qb::playback
