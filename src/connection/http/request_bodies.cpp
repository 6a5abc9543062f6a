#include "connection/http/request_bodies.h"

#include "connection/http/json_escape.h"

namespace qb::connection {

namespace {
// A text placed inside a JSON string that itself lies inside a JSON string.
QString nestedStringContent(const QString& value) {
    return jsonStringContent(jsonStringContent(value));
}
} // namespace

QByteArray linkBody(const QString& magnet) {
    return QString(u"{\"link\": \"" + jsonStringContent(magnet) + u"\"}").toUtf8();
}

QByteArray infoBody(const QString& magnet, const QString& releaseIdDecimal,
                    const QString& posterUrl) {
    return QString(u"{\"link\":\"" + jsonStringContent(magnet) + u"\",\"Info\":\"{\\\"id\\\":\\\"" +
                   nestedStringContent(releaseIdDecimal) + u"\\\", \\\"poster_path\\\":\\\"" +
                   nestedStringContent(posterUrl) + u"\\\"}\"}")
        .toUtf8();
}

QByteArray listBody(const QString& line, const QString& posterUrl, bool withInfo) {
    QString body = u"{\"link\":\"" + jsonStringContent(line) + u"\"";
    if (withInfo) {
        body +=
            u",\"Info\":\"{\\\"poster_path\\\":\\\"" + nestedStringContent(posterUrl) + u"\\\"}\"";
    }
    body += u'}';
    return body.toUtf8();
}

QByteArray removeBody(const QString& hash) {
    return QString(u"{\"hash\": \"" + jsonStringContent(hash) + u"\"}").toUtf8();
}

QByteArray statBody(const QString& hash) {
    return QString(u"{\"Hash\": \"" + jsonStringContent(hash) + u"\"}").toUtf8();
}

} // namespace qb::connection
