#include "v11_answers.h"

#include "text_escape.h"
#include "torrent_store.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace torrserver {

namespace {
constexpr std::array<std::string_view, 35> kVideo = {
    ".3g2", ".3gp",  ".aaf", ".asf", ".avchd", ".avi",  ".drc", ".flv", ".m2ts",
    ".ts",  ".m2v",  ".m4p", ".m4v", ".mkv",   ".mng",  ".mov", ".mp2", ".mp4",
    ".mpe", ".mpeg", ".mpg", ".mpv", ".mxf",   ".nsv",  ".ogg", ".ogv", ".qt",
    ".rm",  ".rmvb", ".roq", ".svi", ".vob",   ".webm", ".wmv", ".yuv"};
constexpr std::array<std::string_view, 20> kAudio = {
    ".aac", ".aiff", ".ape", ".au",  ".flac", ".gsm", ".it",  ".m3u", ".m4a", ".mid",
    ".mod", ".mp3",  ".mpa", ".pls", ".ra",   ".s3m", ".sid", ".wav", ".wma", ".xm"};

// The magnet of a record's text, or of its name and hash when the text is not one.
TorrentMeta magnetParts(const SavedTorrent& record) {
    const MetaResult parsed = parseLink(record.magnet);
    return parsed.ok ? parsed.meta : TorrentMeta{};
}

std::string baseName(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The torrent's magnet without trackers: the 1.1.77 playlists' link.
std::string bareMagnet(const std::string& hash, const std::string& name) {
    return magnetOf(hash, name, {});
}
} // namespace

int v11Status(const LoadedTorrent& torrent, const std::optional<PreloadState>& preload) {
    if (!torrent.meta.hasFiles) {
        return 1;
    }
    return preload && preload->running ? 2 : 3;
}

std::string v11StatusText(int status) {
    static const char* const kTexts[] = {"Torrent added", "Torrent getting info", "Torrent preload",
                                         "Torrent working", "Torrent closed"};
    return status >= 0 && status <= 4 ? kTexts[status] : "Torrent unknown status";
}

bool v11Playable(const std::string& path) {
    const auto slash = path.find_last_of('/');
    const auto dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) {
        return false;
    }
    const std::string_view ext = std::string_view(path).substr(dot);
    return std::find(kVideo.begin(), kVideo.end(), ext) != kVideo.end() ||
           std::find(kAudio.begin(), kAudio.end(), ext) != kAudio.end();
}

std::vector<SavedFile> v11FileStats(const TorrentMeta& meta) {
    std::vector<FileMeta> files = meta.files;
    std::stable_sort(files.begin(), files.end(),
                     [](const FileMeta& a, const FileMeta& b) { return a.path < b.path; });
    std::vector<SavedFile> out;
    for (std::size_t i = 0; i < files.size(); ++i) {
        out.push_back({static_cast<int>(i), files[i].path, files[i].size, false});
    }
    return out;
}

SavedTorrent v11AddedRecord(const LoadedTorrent& torrent, AddressForms forms) {
    SavedTorrent record;
    record.meta = torrent.meta;
    record.infoKept = forms == AddressForms::V1177 && torrent.infoKept;
    record.magnet = magnetOf(torrent.meta.hash, torrent.displayName, torrent.meta.trackers);
    record.title = torrent.name();
    record.timestamp = unixNow();
    record.size = totalLength(torrent.meta);
    record.files = v11FileStats(torrent.meta);
    return record;
}

SavedTorrent v11LoadedRecord(const LoadedTorrent& torrent, std::int64_t startTime) {
    SavedTorrent record;
    record.meta = torrent.meta;
    record.magnet = magnetOf(torrent.meta.hash, torrent.name(), torrent.meta.trackers);
    record.title = torrent.name();
    record.timestamp = startTime;
    record.size = torrent.meta.hasFiles ? totalLength(torrent.meta) : 0;
    for (const SavedFile& file : v11FileStats(torrent.meta)) {
        if (v11Playable(file.path)) {
            record.files.push_back(file);
        }
    }
    return record;
}

Json v11ListEntry(const SavedTorrent& record, int status, const std::string& info,
                  AddressForms forms) {
    const TorrentMeta magnet = magnetParts(record);
    const std::string& hash = record.meta.hash;
    const std::string bare =
        bareMagnet(magnet.hash.empty() ? std::string(40, '0') : magnet.hash, magnet.name);
    Json out = Json::object();
    out["Name"] = record.title.size() < magnet.name.size() ? magnet.name : record.title;
    out["Magnet"] = record.magnet;
    out["Hash"] = hash;
    out["AddTime"] = record.timestamp;
    std::int64_t total = 0;
    for (const SavedFile& file : record.files) {
        total += file.size;
    }
    out["Length"] = record.size != 0 ? record.size : total;
    out["Status"] = status;
    out["Playlist"] = forms == AddressForms::V1177
                          ? "/torrent/play?link=" + queryEscape(bare) + "&m3u=true"
                          : "/torrent/play?link=" + queryEscape(record.magnet) +
                                "&m3u=true&fname=" + cleanName(record.title + ".m3u");
    out["Info"] = info;
    if (!record.files.empty()) {
        Json files = Json::array();
        for (const SavedFile& file : record.files) {
            const std::string id = std::to_string(file.id);
            const std::string name = cleanName(file.path);
            Json item = Json::object();
            item["Name"] = file.path;
            item["Link"] = "/torrent/view/" + hash + "/" + name;
            if (forms == AddressForms::V1177) {
                item["Play"] = "/torrent/play/" + name + "?link=" + bare + "&file=" + id;
                item["Preload"] = item["Play"].get<std::string>() + "&preload=true";
            } else {
                item["Play"] = "/torrent/play?link=" + record.magnet + "&file=" + id;
                item["Preload"] = "/torrent/preload/" + hash + "/" + name;
            }
            item["Size"] = file.size;
            item["Viewed"] = file.viewed;
            files.push_back(item);
        }
        out["Files"] = files;
    }
    return out;
}

Json v11StatJson(const LoadedTorrent& torrent, int status,
                 const std::optional<PreloadState>& preload) {
    const PreloadState p = preload.value_or(PreloadState{});
    Json out = Json::object();
    out["Name"] = torrent.name();
    out["Hash"] = torrent.meta.hash;
    out["TorrentStatus"] = status;
    out["TorrentStatusString"] = v11StatusText(status);
    out["LoadedSize"] = p.preloadedBytes;
    out["TorrentSize"] = torrent.meta.hasFiles ? totalLength(torrent.meta) : 0;
    out["PreloadedBytes"] = p.preloadedBytes;
    out["PreloadSize"] = p.preloadSize;
    out["DownloadSpeed"] = goNumber(p.downloadSpeed);
    out["UploadSpeed"] = 0;
    out["TotalPeers"] = p.totalPeers;
    out["PendingPeers"] = p.pendingPeers;
    out["ActivePeers"] = p.activePeers;
    out["ConnectedSeeders"] = p.connectedSeeders;
    out["HalfOpenPeers"] = p.halfOpenPeers;
    for (const char* counter : {"BytesWritten", "BytesWrittenData"}) {
        out[counter] = 0;
    }
    for (const char* counter : {"BytesRead", "BytesReadData", "BytesReadUsefulData"}) {
        out[counter] = p.preloadedBytes;
    }
    for (const char* counter : {"ChunksWritten", "ChunksRead", "ChunksReadUseful",
                                "ChunksReadWasted", "PiecesDirtiedGood", "PiecesDirtiedBad"}) {
        out[counter] = 0;
    }
    Json files = nullptr;
    if (torrent.meta.hasFiles) {
        files = Json::array();
        for (const SavedFile& file : v11FileStats(torrent.meta)) {
            files.push_back(Json{{"Id", file.id}, {"Path", file.path}, {"Length", file.size}});
        }
    }
    out["FileStats"] = files;
    return out;
}

Json v11PlayState(const LoadedTorrent& torrent, int status,
                  const std::optional<PreloadState>& preload) {
    const Json stat = v11StatJson(torrent, status, preload);
    Json out = Json::object();
    for (const char* key :
         {"Name", "Hash", "TorrentStatus", "TorrentStatusString", "LoadedSize", "TorrentSize",
          "PreloadedBytes", "PreloadSize", "DownloadSpeed", "UploadSpeed", "TotalPeers",
          "PendingPeers", "ActivePeers", "ConnectedSeeders"}) {
        out[key] = stat[key];
    }
    Json files = Json::array();
    for (const SavedFile& file : v11FileStats(torrent.meta)) {
        if (v11Playable(file.path)) {
            files.push_back(Json{{"Id", file.id}, {"Path", file.path}, {"Length", file.size}});
        }
    }
    out["FileStats"] = files;
    return out;
}

std::string v11TorrentM3u(const LoadedTorrent& torrent, const std::string& origin,
                          AddressForms forms) {
    const std::string link =
        forms == AddressForms::V1177
            ? queryEscape(bareMagnet(torrent.meta.hash, torrent.name()))
            : queryEscape(magnetOf(torrent.meta.hash, torrent.name(), torrent.meta.trackers));
    std::string out = "#EXTM3U\n";
    for (const SavedFile& file : v11FileStats(torrent.meta)) {
        if (!v11Playable(file.path)) {
            continue;
        }
        out += forms == AddressForms::V1177 ? "#EXTINF:0, " + baseName(file.path) + "\n"
                                            : "#EXTINF:-1 type=\"playlist\", " + file.path + "\n";
        out += origin + "/torrent/play?link=" + link + "&file=" + std::to_string(file.id) + "\n\n";
    }
    return out;
}

std::string v11AllM3u(const std::vector<SavedTorrent>& records, const std::string& origin,
                      AddressForms forms) {
    std::vector<SavedTorrent> byHash = records;
    std::sort(byHash.begin(), byHash.end(), [](const SavedTorrent& a, const SavedTorrent& b) {
        return a.meta.hash < b.meta.hash;
    });
    std::string out = "#EXTM3U\n";
    for (const SavedTorrent& record : byHash) {
        out += "#EXTINF:0 type=\"playlist\", " + record.title + "\n";
        if (forms == AddressForms::V1177) {
            const TorrentMeta magnet = magnetParts(record);
            const std::string link =
                magnet.hash.empty() ? record.magnet : bareMagnet(magnet.hash, magnet.name);
            out += origin + "/torrent/play?link=" + queryEscape(link) + "&m3u=true\n\n";
        } else {
            out += origin + "/torrent/play?link=" + queryEscape(record.magnet) +
                   "&m3u=true&fname=" + cleanName(record.title + ".m3u") + "\n\n";
        }
    }
    return out;
}

TorrentStore::RecordMaker v11RecordMaker(AddressForms forms) {
    return [forms](LoadedTorrent& torrent) { return v11AddedRecord(torrent, forms); };
}

} // namespace torrserver
