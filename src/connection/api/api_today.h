#pragma once

#include "connection/api/file_recorder.h"
#include "connection/api/torrserver_api.h"

namespace qb::net {
class HttpClient;
}

namespace qb::connection {

// Today's generation (1.2 and every "MatriX" release): "/torrents" with an action, "/stream",
// "/playlist", "/torrent/upload". Torrents are added saved ("save_to_db"); the release id and
// poster the older server kept in "Info" travel in the server's "data", and the server's
// status objects are read as the client's entries (today/client_entry.h). Its error answers
// have no body, so a failure's text says what the server refused.
class ApiToday final : public TorrServerApi {
public:
    ApiToday(net::HttpClient& general, net::HttpClient& preload)
        : General_(general)
        , Preload_(preload)
        , Recorder_(general) {}

    ServerGeneration generation() const override { return ServerGeneration::Today; }
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
    net::HttpResult torrents(const QString& base, const QByteArray& body, const QString& what);
    net::HttpResult add(const QString& base, const QString& link, const QString& title,
                        const QString& poster, const QString& releaseId);

    net::HttpClient& General_;
    net::HttpClient& Preload_;
    FileRecorder Recorder_;
};

} // namespace qb::connection
