#pragma once

#include "connection/http/http_client.h"
#include "raw_http_server.h"

#include <QString>

#include <chrono>
#include <functional>
#include <future>
#include <memory>
#include <optional>

namespace qb::test {

using namespace Qt::StringLiterals;

using ClientFactory = std::unique_ptr<net::HttpClient> (*)();

struct NamedClient {
    const char* name;
    ClientFactory make;
};

inline const NamedClient kAllClients[] = {
    {"IdHTTP1", &net::makeIdHttp1},
    {"IdHTTP3", &net::makeIdHttp3},
    {"NetHTTPClient1", &net::makeNetHttpClient1},
    {"NetHTTPClient2", &net::makeNetHttpClient2},
    {"Ping1", &net::makePing1},
};

inline QString qs(const QByteArray& bytes) {
    return QString::fromUtf8(bytes);
}

// Runs a request on another thread and gives it a generous bound, so a fault in the client
// fails the test instead of hanging the suite. On overrun the client's transfers are ended.
inline std::optional<net::HttpResult>
bounded(net::HttpClient& client, const std::function<net::HttpResult()>& request,
        std::chrono::seconds limit = std::chrono::seconds(15)) {
    auto pending = std::async(std::launch::async, request);
    if (pending.wait_for(limit) != std::future_status::ready) {
        client.closeConnection();
        pending.wait();
        return std::nullopt;
    }
    return pending.get();
}

// Answers every request with 200 and its path as the body.
inline void answerWithPath(RawConnection& connection, RawHttpServer& server) {
    RecordedRequest request;
    if (server.readAndRecord(connection, request)) {
        connection.send(RawHttpServer::response(200, "OK", request.path(),
                                                {"Content-Type: text/plain; charset=utf-8"}));
    }
}

} // namespace qb::test
