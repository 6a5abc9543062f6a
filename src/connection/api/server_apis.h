#pragma once

#include "connection/api/api_11.h"
#include "connection/api/api_today.h"
#include "connection/api/server_generation.h"

#include <memory>

namespace qb::net {
class HttpClient;
}

namespace qb::connection {

// Both generations' interfaces over the window's clients, and which one the server at the
// current address speaks. Safe to use from any thread.
class ServerApis {
public:
    // `general` carries every request but the preload (`preload`) and the echo (`ping`). The
    // clients live as long as the interfaces: a job that holds them may outlive the window.
    ServerApis(std::shared_ptr<net::HttpClient> general, std::shared_ptr<net::HttpClient> preload,
               std::shared_ptr<net::HttpClient> ping);

    // The interface of the generation known for `base` (the 1.1 generation until told).
    TorrServerApi& forAddress(const QString& base);

    // The list request. A server that answers it with 404 speaks the other generation (a 1.1
    // server answers the 1.1 list always, today's only its own): that one is learned for the
    // address and asked at once. `api` is the interface the answer is read with.
    struct ListAnswer {
        TorrServerApi::ListReply reply;
        TorrServerApi* api = nullptr;
    };
    ListAnswer list(const QString& base);

    // The alive check's echo. A version text that names a generation is learned for `base`.
    net::HttpResult echo(const QString& base);

    // Whether a server answers at `base` (the local server's probe at start), on the general
    // client; its answer is not read.
    net::HttpResult probe(const QString& base);

    // Nothing is known of the server any more (the local server was switched).
    void forget() { Memory_.forget(); }

private:
    TorrServerApi& of(ServerGeneration generation);

    std::shared_ptr<net::HttpClient> General_;
    std::shared_ptr<net::HttpClient> Preload_;
    std::shared_ptr<net::HttpClient> Ping_;
    Api11 Api11_;
    ApiToday Today_;
    GenerationMemory Memory_;
};

} // namespace qb::connection
