#pragma once

#include "connection/api/torrserver_api.h"

namespace qb::net {
class HttpClient;
}

namespace qb::connection {

// The 1.1 generation ("/torrent/list", "/torrent/add", ...): every request byte for byte as
// the window always sent it.
class Api11 final : public TorrServerApi {
public:
    Api11(net::HttpClient& general, net::HttpClient& preload)
        : General_(general)
        , Preload_(preload) {}

    ServerGeneration generation() const override { return ServerGeneration::Api11; }
    ListReply list(const QString& base) override;
    ServerListRead readList(const ListReply& reply) const override;
    net::HttpResult addLink(const QString& base, const QString& link) override;
    net::HttpResult addRelease(const QString& base, const ReleaseAdd& release) override;
    net::HttpResult addListLine(const QString& base, const ListLineAdd& line) override;
    net::HttpResult upload(const QString& base, const QString& fileName,
                           const QByteArray& content) override;
    net::HttpResult remove(const QString& base, const QString& hash) override;
    net::HttpResult playlist(const QString& base, const nlohmann::ordered_json& entry) override;
    net::HttpResult playWithoutAdding(const QString& base, const QString& magnet) override;
    PreloadTarget preloadTarget(const PreloadSource& source) const override;
    net::HttpResult preload(const QString& base, const QString& path) override;
    net::HttpResult preloadState(const QString& base, const QString& hash) override;
    std::optional<playback::PreloadStat> readPreloadState(const QByteArray& answer) const override;
    QString fileAddress(const QString& base, const nlohmann::ordered_json& file) const override;
    QString allPlaylistAddress(const QString& base) const override;
    QString pageAddress(const QString& base, ServerPage page) const override;

private:
    net::HttpClient& General_;
    net::HttpClient& Preload_;
};

} // namespace qb::connection
