#pragma once

#include <QByteArray>
#include <QList>

namespace qb::net {

// What distinguishes the configured clients. Time-outs in milliseconds, 0 for none.
struct ClientSettings {
    QList<QByteArray> headers;         // sent in this order, "Name: value"
    bool postAsHttp10 = false;         // POST as HTTP/1.0, GET as HTTP/1.1
    bool errorStatusFails = false;     // status >= 400 fails and the body is dropped
    bool keepEventsFlowing = false;    // on the application's thread, keep its events flowing
    bool numberedFailureTexts = false; // failure texts carry transport error numbers
    bool followRedirects = false;
    long maxRedirects = 0;
    bool allowTls10 = false; // TLS 1.0 up to 1.3
    int connectTimeoutMs = 0;
    int sendTimeoutMs = 0; // longest pause while the request body goes out
    int readTimeoutMs = 0; // longest pause while waiting for or reading the answer
};

} // namespace qb::net
