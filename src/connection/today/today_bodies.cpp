#include "connection/today/today_bodies.h"

#include "connection/http/json_escape.h"

using namespace Qt::Literals::StringLiterals;

namespace qb::connection::today {
namespace {
// `,"name":"value"`, or nothing for an empty value.
QString member(const char16_t* name, const QString& value) {
    if (value.isEmpty()) {
        return {};
    }
    return u",\""_s + QString::fromUtf16(name) + u"\":\""_s + jsonStringContent(value) + u"\""_s;
}

QByteArray action(const char16_t* name, const QString& members) {
    return QString(u"{\"action\":\""_s + QString::fromUtf16(name) + u"\""_s + members + u"}"_s)
        .toUtf8();
}
} // namespace

QByteArray listBody() {
    return action(u"list", {});
}

QByteArray addBody(const AddRequest& request) {
    return action(u"add", member(u"link", request.link) + member(u"title", request.title) +
                              member(u"poster", request.poster) + member(u"data", request.data) +
                              u",\"save_to_db\":true"_s);
}

QByteArray getBody(const QString& hash) {
    return action(u"get", member(u"hash", hash));
}

QByteArray removeBody(const QString& hash) {
    return action(u"rem", member(u"hash", hash));
}

QByteArray setBody(const SetRequest& request) {
    return action(u"set", member(u"hash", request.hash) + member(u"title", request.title) +
                              member(u"poster", request.poster) +
                              member(u"category", request.category) +
                              member(u"data", request.data));
}

QByteArray viewedListBody() {
    return action(u"list", {});
}

} // namespace qb::connection::today
