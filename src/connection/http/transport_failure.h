#pragma once

#include "connection/http/http_result.h"

#include <QString>

#include <curl/curl.h>

namespace qb::net {

// How a transfer that did not complete normally is reported.
enum class TransferEnd {
    Curl,        // curl finished the transfer with the code given
    Aborted,     // the client's connection was closed from elsewhere
    IdleTimeout, // nothing moved for longer than the send or read limit
    NotHttpUrl,  // the address does not begin with http:// or https://
};

struct TransportFailure {
    FailureKind kind = FailureKind::Connection;
    QString text;
};

// The kind and the text of a failed transfer. With `numbered` the text carries the transport
// error numbers that callers search for: "12029" when no connection could be made (refused, or
// reset before any answer arrived), "12007" when the host name could not be resolved, "12152"
// when the answer was not valid HTTP (no status line, garbage, closed without a word, broken
// compression). Without it the text is curl's own message.
TransportFailure transportFailure(TransferEnd end, CURLcode code, bool answerStarted, bool numbered,
                                  const QString& curlMessage);

} // namespace qb::net
