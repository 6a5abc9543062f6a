#pragma once

#include "connection/http/client_settings.h"
#include "connection/http/http_result.h"
#include "connection/http/multipart_body.h"

#include <QByteArray>
#include <QString>

#include <memory>

namespace qb::net {

// One configured HTTP client. The object holds settings only: every request runs on an easy
// handle of its own and closes its connection when it ends, so one client may be used from
// several threads at once. All members are thread-safe.
//
// Requests block. A client that keeps the window's events flowing (IdHTTP1, IdHTTP3) runs a
// request made on the application's thread on a helper thread and processes the window's
// events until it ends, so handlers may run meanwhile; the other clients hold the calling
// thread.
//
// Time-outs: the connect time-out bounds name resolution and the TCP connection (with none,
// the system's own limit applies). The send time-out is the longest pause allowed while the
// request body goes out, the read time-out (the response time-out of the search clients) the
// longest pause while waiting for the answer or between its pieces; both count from the moment
// the connection stands, and neither bounds a slow but steady transfer.
// Time-outs of one request in milliseconds, in place of the client's own; -1 keeps the
// client's, 0 is none.
struct RequestLimits {
    int connectTimeoutMs = -1;
    int readTimeoutMs = -1;
};

class HttpClient {
public:
    explicit HttpClient(ClientSettings settings);
    ~HttpClient(); // ends the client's transfers in flight
    HttpClient(const HttpClient&) = delete;
    HttpClient& operator=(const HttpClient&) = delete;

    HttpResult get(const QString& url);
    // A body without a type of its own (the JSON bodies); the client sends no Content-Type
    // for it unless its fixed headers hold one.
    HttpResult post(const QString& url, const QByteArray& body);
    HttpResult post(const QString& url, const QByteArray& body, const RequestLimits& limits);
    // A "multipart/form-data" body with one file part.
    HttpResult postMultipart(const QString& url, const QString& fieldName, const QString& fileName,
                             const QByteArray& content);
    // The same with text parts after the file.
    HttpResult postMultipart(const QString& url, const QString& fieldName, const QString& fileName,
                             const QByteArray& content, const QList<connection::FormField>& fields);

    // Time-outs in milliseconds, 0 for none. They apply to requests made afterwards.
    void setConnectTimeoutMs(int ms);
    void setSendTimeoutMs(int ms);
    void setReadTimeoutMs(int ms);
    int connectTimeoutMs() const;
    int sendTimeoutMs() const;
    int readTimeoutMs() const;

    // Ends every transfer of this client in flight at once, whichever thread runs it; each
    // ends as a connection failure. Requests made afterwards are not affected. Since no
    // connection outlives its request, nothing else is needed after a request has returned.
    void closeConnection();
    // Ends the transfers in flight and fails every later request at once, as a connection
    // failure: used when the program ends, so that no handler waits for a slow server.
    void shutDown();

private:
    struct Shared;
    HttpResult request(bool post, const QString& url, const QByteArray& body,
                       const QByteArray& contentType, const RequestLimits& limits = {});

    std::shared_ptr<Shared> d_;
};

// The five configured clients.
std::unique_ptr<HttpClient> makeIdHttp1();
std::unique_ptr<HttpClient> makeIdHttp3();
std::unique_ptr<HttpClient> makeNetHttpClient1();
std::unique_ptr<HttpClient> makeNetHttpClient2();
std::unique_ptr<HttpClient> makePing1();

} // namespace qb::net
