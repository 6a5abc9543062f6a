#include "connection/http/json_escape.h"

namespace qb::connection {

QString jsonStringContent(const QString& value) {
    QString out;
    out.reserve(value.size());
    for (const QChar c : value) {
        switch (c.unicode()) {
        case u'"':
            out += u"\\\"";
            break;
        case u'\\':
            out += u"\\\\";
            break;
        case u'\b':
            out += u"\\b";
            break;
        case u'\f':
            out += u"\\f";
            break;
        case u'\n':
            out += u"\\n";
            break;
        case u'\r':
            out += u"\\r";
            break;
        case u'\t':
            out += u"\\t";
            break;
        default:
            if (c.unicode() < 0x20) {
                out += u"\\u00";
                out += QChar(u"0123456789abcdef"[c.unicode() >> 4]);
                out += QChar(u"0123456789abcdef"[c.unicode() & 0xF]);
            } else {
                out += c;
            }
        }
    }
    return out;
}

} // namespace qb::connection
