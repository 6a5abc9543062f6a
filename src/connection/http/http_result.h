#pragma once

#include <QByteArray>
#include <QString>

namespace qb::net {

enum class FailureKind {
    None,        // the request succeeded
    Connection,  // no connection, or it broke (reset, closed, not HTTP) before the answer was whole
    Timeout,     // a connect, send or read limit of the client ran out
    ErrorStatus, // status 400 or above (only clients that treat it as a failure)
};

struct HttpResult {
    bool ok = false;
    FailureKind failure = FailureKind::None;
    int status = 0;         // HTTP status of the (last) answer, 0 when none arrived
    QByteArray body;        // decoded from gzip/deflate; empty on a failure
    QByteArray contentType; // the answer's Content-Type, as sent
    QString failureText;    // empty on success

    // The body decoded by the charset of the Content-Type; UTF-8 when none is given or the
    // charset is unknown.
    QString text() const;
};

} // namespace qb::net
