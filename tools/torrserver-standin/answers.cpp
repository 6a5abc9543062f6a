#include "answers.h"

#include "text_escape.h"

namespace torrserver {

int statusOf(const TorrentEntry& entry, const std::optional<PreloadState>& preload) {
    if (!entry.loaded) {
        return 0;
    }
    if (!entry.meta.hasFiles) {
        return 1;
    }
    return preload && preload->running ? 2 : 3;
}

std::string statusText(int status) {
    static const char* const kTexts[] = {"Torrent added", "Torrent getting info", "Torrent preload",
                                         "Torrent working", "Torrent closed"};
    return status >= 0 && status <= 4 ? kTexts[status] : "";
}

std::string plainMagnet(const TorrentEntry& entry) {
    return magnetOf(entry.meta.hash, entry.name(), {});
}

std::string playlistPath(const TorrentEntry& entry) {
    return "/torrent/play?link=" + queryEscape(plainMagnet(entry)) +
           "&m3u=true&fname=" + cleanName(entry.name()) + ".m3u";
}

std::string viewPath(const std::string& hash, const std::string& filePath) {
    return "/torrent/view/" + hash + "/" + cleanName(filePath);
}

std::string preloadPath(const std::string& hash, const std::string& filePath) {
    return "/torrent/preload/" + hash + "/" + cleanName(filePath);
}

Json listEntryJson(const TorrentEntry& entry, int status) {
    Json out = Json::object();
    out["Name"] = entry.name();
    out["Magnet"] = magnetOf(entry.meta.hash, entry.name(), entry.meta.trackers);
    out["Hash"] = entry.meta.hash;
    out["AddTime"] = entry.addTime;
    out["Length"] = entry.meta.hasFiles ? totalLength(entry.meta) : 0;
    out["Status"] = status;
    out["Playlist"] = playlistPath(entry);
    out["Info"] = entry.info;
    if (entry.meta.hasFiles) {
        Json files = Json::array();
        for (std::size_t i = 0; i < entry.meta.files.size(); ++i) {
            const FileMeta& file = entry.meta.files[i];
            Json item = Json::object();
            item["Name"] = file.path;
            item["Link"] = viewPath(entry.meta.hash, file.path);
            item["Preload"] = preloadPath(entry.meta.hash, file.path);
            item["Size"] = file.size;
            item["Viewed"] = entry.viewed.count(i) > 0;
            files.push_back(item);
        }
        out["Files"] = files;
    }
    return out;
}

Json statJson(const TorrentEntry& entry, int status, const std::optional<PreloadState>& preload) {
    const PreloadState p = preload.value_or(PreloadState{});
    Json out = Json::object();
    out["Name"] = entry.name();
    out["Hash"] = entry.meta.hash;
    out["TorrentStatus"] = status;
    out["TorrentStatusString"] = statusText(status);
    out["LoadedSize"] = p.preloadedBytes;
    out["TorrentSize"] = entry.meta.hasFiles ? totalLength(entry.meta) : 0;
    out["PreloadedBytes"] = p.preloadedBytes;
    out["PreloadSize"] = p.preloadSize;
    out["DownloadSpeed"] = goNumber(p.downloadSpeed);
    out["UploadSpeed"] = 0;
    out["TotalPeers"] = p.totalPeers;
    out["PendingPeers"] = p.pendingPeers;
    out["ActivePeers"] = p.activePeers;
    out["ConnectedSeeders"] = p.connectedSeeders;
    out["HalfOpenPeers"] = p.halfOpenPeers;
    if (entry.meta.hasFiles) {
        Json files = Json::array();
        for (std::size_t i = 0; i < entry.meta.files.size(); ++i) {
            files.push_back(Json{{"Id", i},
                                 {"Path", entry.meta.files[i].path},
                                 {"Length", entry.meta.files[i].size}});
        }
        out["FileStats"] = files;
    }
    return out;
}

std::string torrentM3u(const TorrentEntry& entry, const std::string& host) {
    std::string out = "#EXTM3U\n";
    const std::string link = queryEscape(plainMagnet(entry));
    for (std::size_t i = 0; i < entry.meta.files.size(); ++i) {
        const FileMeta& file = entry.meta.files[i];
        if (isMediaFile(file.path)) {
            out += "#EXTINF:-1," + file.path + "\n";
            out += "http://" + host + "/torrent/play?link=" + link + "&file=" + std::to_string(i) +
                   "\n";
        }
    }
    return out;
}

std::string allTorrentsM3u(const std::vector<TorrentEntry>& entries, const std::string& host) {
    std::string out = "#EXTM3U\n";
    for (const TorrentEntry& entry : entries) {
        if (entry.saved) {
            out += "#EXTINF:0," + entry.name() + "\n";
            out += "http://" + host + playlistPath(entry) + "\n";
        }
    }
    return out;
}

} // namespace torrserver
