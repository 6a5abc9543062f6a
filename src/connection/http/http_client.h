#pragma once

#include "connection/http/client_settings.h"
#include "connection/http/http_result.h"

#include <QByteArray>
#include <QString>

#include <memory>

namespace qb::net {

// One configured HTTP client. The object holds settings only: every request runs on an easy
// handle of its own and closes its connection when it ends, so one client may be used from
// several threads at once. All members are thread-safe.
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
    // A "multipart/form-data" body with one file part.
    HttpResult postMultipart(const QString& url, const QString& fieldName, const QString& fileName,
                             const QByteArray& content);

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

private:
    struct Shared;
    HttpResult request(bool post, const QString& url, const QByteArray& body,
                       const QByteArray& contentType);

    std::shared_ptr<Shared> d_;
};

// The five configured clients.
std::unique_ptr<HttpClient> makeIdHttp1();
std::unique_ptr<HttpClient> makeIdHttp3();
std::unique_ptr<HttpClient> makeNetHttpClient1();
std::unique_ptr<HttpClient> makeNetHttpClient2();
std::unique_ptr<HttpClient> makePing1();

} // namespace qb::net
