#include "connection/api/server_apis.h"

#include "connection/http/http_client.h"

using namespace Qt::Literals::StringLiterals;

namespace qb::connection {
namespace {
constexpr int kNotFound = 404;
}

ServerApis::ServerApis(std::shared_ptr<net::HttpClient> general,
                       std::shared_ptr<net::HttpClient> preload,
                       std::shared_ptr<net::HttpClient> ping)
    : General_(std::move(general))
    , Preload_(std::move(preload))
    , Ping_(std::move(ping))
    , Api11_(*General_, *Preload_)
    , Today_(*General_, *Preload_) {}

TorrServerApi& ServerApis::of(ServerGeneration generation) {
    return generation == ServerGeneration::Today ? static_cast<TorrServerApi&>(Today_) : Api11_;
}

TorrServerApi& ServerApis::forAddress(const QString& base) {
    return of(Memory_.generationFor(base));
}

ServerApis::ListAnswer ServerApis::list(const QString& base) {
    TorrServerApi* api = &forAddress(base);
    TorrServerApi::ListReply reply = api->list(base);
    if (!reply.answer.ok && reply.answer.status == kNotFound) {
        const ServerGeneration other = api->generation() == ServerGeneration::Today
                                           ? ServerGeneration::Api11
                                           : ServerGeneration::Today;
        Memory_.learn(base, other);
        api = &of(other);
        reply = api->list(base);
    }
    return {std::move(reply), api};
}

net::HttpResult ServerApis::echo(const QString& base) {
    net::HttpResult answer = Ping_->get(base + u"/echo"_s);
    if (answer.ok) {
        if (const auto generation = generationOfEcho(QString::fromUtf8(answer.body))) {
            Memory_.learn(base, *generation);
        }
    }
    return answer;
}

net::HttpResult ServerApis::probe(const QString& base) {
    return General_->get(base + u"/echo"_s);
}

} // namespace qb::connection
