#include "matrix_status.h"

#include "routes.h"
#include "text_escape.h"
#include "torrs_hash.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace torrserver {

namespace {
// The number that a text's leading digits make, or nullopt when it starts with none (or
// with more than fit in an int, which Go's strconv.Atoi refuses).
std::optional<long long> numberPrefix(std::string_view text) {
    std::size_t digits = 0;
    while (digits < text.size() && text[digits] >= '0' && text[digits] <= '9') {
        ++digits;
    }
    if (digits == 0 || digits > 18) {
        return std::nullopt;
    }
    return std::stoll(std::string(text.substr(0, digits)));
}

constexpr std::array<std::string_view, 37> kVideo = {
    ".3g2",  ".3gp", ".aaf", ".asf", ".avchd", ".avi", ".drc", ".dv",  ".flv", ".iso",
    ".m2ts", ".m2v", ".m4p", ".m4v", ".mkv",   ".mng", ".mov", ".mp2", ".mp4", ".mpe",
    ".mpeg", ".mpg", ".mpv", ".mts", ".mxf",   ".nsv", ".ogv", ".qt",  ".rm",  ".rmvb",
    ".roq",  ".svi", ".ts",  ".vob", ".webm",  ".wmv", ".yuv"};
constexpr std::array<std::string_view, 31> kAudio = {
    ".aac", ".ac3", ".aiff", ".ape", ".au",   ".dff",  ".dsf", ".flac", ".gsm",  ".it",  ".m3u",
    ".m4a", ".mid", ".mod",  ".mp3", ".mpa",  ".mpga", ".oga", ".ogg",  ".opus", ".pls", ".ra",
    ".s3m", ".sid", ".spx",  ".wav", ".weba", ".wma",  ".wv",  ".wvc",  ".xm"};

struct MediaType {
    std::string_view extensions;
    std::string_view type;
};
constexpr std::array<MediaType, 25> kMediaTypes = {{
    {".bmp", "image/bmp"},
    {".gif", "image/gif"},
    {".jpg.jpeg", "image/jpeg"},
    {".png", "image/png"},
    {".tiff.tif", "image/tiff"},
    {".aac", "audio/x-aac"},
    {".dsd.dsf.dff", "audio/dsd"},
    {".flac", "audio/flac"},
    {".mpga.mpega.mp2.mp3.m4a", "audio/mpeg"},
    {".oga.ogg.spx", "audio/ogg"},
    {".opus", "audio/opus"},
    {".weba", "audio/weba"},
    {".ape", "audio/x-ape"},
    {".wav", "audio/x-wav"},
    {".dif.dv", "video/dv"},
    {".fli", "video/fli"},
    {".mp4", "video/mp4"},
    {".mpeg.mpg.mpe", "video/mpeg"},
    {".mpv.mkv", "video/x-matroska"},
    {".ts.m2ts.mts", "video/mp2t"},
    {".ogv", "video/ogg"},
    {".webm", "video/webm"},
    {".vob", "video/x-ms-vob"},
    {".avi", "video/x-msvideo"},
    {".qt.mov", "video/x-quicktime"},
}};

bool listed(std::string_view extensions, std::string_view ext) {
    for (std::size_t at = 0; at < extensions.size();) {
        const std::size_t next = extensions.find('.', at + 1);
        if (extensions.substr(at, next - at) == ext) {
            return true;
        }
        at = next == std::string_view::npos ? extensions.size() : next;
    }
    return false;
}

// Omits a member that is zero or empty, as Go's `omitempty` does.
void putIf(Json& out, const char* name, const Json& value);

// The members every status begins with.
Json statusHead(const std::string& title, const std::string& category, const std::string& poster,
                const std::string& data, std::int64_t timestamp) {
    Json out = Json::object();
    out["title"] = title;
    out["category"] = category;
    out["poster"] = poster;
    putIf(out, "data", data);
    out["timestamp"] = timestamp;
    return out;
}

// The files as the status lists them ("state.TorrentFileStat", members left out when empty).
Json fileStatsJson(const TorrentMeta& meta) {
    Json files = Json::array();
    for (const MatrixFile& file : matrixFiles(meta)) {
        Json item = Json::object();
        putIf(item, "id", file.id);
        putIf(item, "path", file.path);
        putIf(item, "length", file.size);
        files.push_back(item);
    }
    return files;
}

void putIf(Json& out, const char* name, const Json& value) {
    const bool empty = (value.is_string() && value.get<std::string>().empty()) ||
                       (value.is_number() && value.get<double>() == 0) ||
                       (value.is_array() && value.empty()) || value.is_null();
    if (!empty) {
        out[name] = value;
    }
}
} // namespace

bool matrixPathBefore(const std::string& first, const std::string& second) {
    std::size_t common = 0;
    while (common < first.size() && common < second.size() && first[common] == second[common]) {
        ++common;
    }
    const std::string_view rest1 = std::string_view(first).substr(common);
    const std::string_view rest2 = std::string_view(second).substr(common);
    const auto number1 = numberPrefix(rest1);
    const auto number2 = numberPrefix(rest2);
    if (number1 && number2) {
        return *number1 < *number2;
    }
    if (number1 || number2) {
        return number1.has_value();
    }
    return rest1 < rest2;
}

std::vector<MatrixFile> matrixFiles(const TorrentMeta& meta) {
    std::vector<MatrixFile> files;
    for (std::size_t i = 0; i < meta.files.size(); ++i) {
        files.push_back({0, meta.files[i].path, meta.files[i].size, i});
    }
    std::stable_sort(files.begin(), files.end(), [](const MatrixFile& a, const MatrixFile& b) {
        return matrixPathBefore(a.path, b.path);
    });
    for (std::size_t i = 0; i < files.size(); ++i) {
        files[i].id = static_cast<int>(i) + 1;
    }
    return files;
}

int matrixStat(const LoadedTorrent& torrent, const std::optional<PreloadState>& preload) {
    if (!torrent.meta.hasFiles) {
        return 1;
    }
    return preload && preload->running ? 2 : 3;
}

Json matrixStatus(const LoadedTorrent& torrent, const std::optional<PreloadState>& preload) {
    static const char* const kStatText[] = {"Torrent added",   "Torrent getting info",
                                            "Torrent preload", "Torrent working",
                                            "Torrent closed",  "Torrent in db"};
    const PreloadState p = preload.value_or(PreloadState{});
    const int stat = matrixStat(torrent, preload);
    const std::int64_t size = torrent.meta.hasFiles ? totalLength(torrent.meta) : torrent.size;
    Json out = statusHead(torrent.title, torrent.category, torrent.poster, torrent.data,
                          torrent.timestamp);
    putIf(out, "name", torrent.name());
    putIf(out, "hash", torrent.meta.hash);
    if (torrent.meta.hasFiles) {
        putIf(out, "torrs_hash",
              torrsHash(torrent.meta.hash, torrent.title, torrent.poster, torrent.category, size,
                        torrent.meta.trackers));
    }
    out["stat"] = stat;
    out["stat_string"] = kStatText[stat];
    putIf(out, "loaded_size", p.preloadedBytes);
    putIf(out, "torrent_size", size);
    putIf(out, "preloaded_bytes", p.preloadedBytes);
    putIf(out, "preload_size", p.preloadSize);
    putIf(out, "download_speed", goNumber(p.downloadSpeed));
    putIf(out, "total_peers", p.totalPeers);
    putIf(out, "pending_peers", p.pendingPeers);
    putIf(out, "active_peers", p.activePeers);
    putIf(out, "connected_seeders", p.connectedSeeders);
    putIf(out, "half_open_peers", p.halfOpenPeers);
    putIf(out, "bytes_read", p.preloadedBytes);
    putIf(out, "bytes_read_data", p.preloadedBytes);
    putIf(out, "bytes_read_useful_data", p.preloadedBytes);
    if (torrent.meta.hasFiles) {
        putIf(out, "file_stats", fileStatsJson(torrent.meta));
    }
    return out;
}

Json matrixSavedStatus(const SavedTorrent& record) {
    Json out =
        statusHead(record.title, record.category, record.poster, record.data, record.timestamp);
    putIf(out, "hash", record.meta.hash);
    out["stat"] = 5;
    out["stat_string"] = "Torrent in db";
    putIf(out, "torrent_size", record.size);
    return out;
}

std::string matrixFilesData(const TorrentMeta& meta) {
    const Json files = meta.hasFiles && !meta.files.empty() ? fileStatsJson(meta) : Json(nullptr);
    return goDump(Json{{"TorrServer", Json{{"Files", files}}}});
}

SavedTorrent matrixRecord(LoadedTorrent& torrent) {
    if (torrent.data.empty()) {
        torrent.data = matrixFilesData(torrent.meta);
    }
    SavedTorrent record;
    record.meta = torrent.meta;
    record.meta.name = torrent.displayName;
    record.infoKept = torrent.infoKept;
    record.title = torrent.title;
    record.category = torrent.category;
    record.data = torrent.data;
    record.poster = torrent.poster;
    record.size =
        torrent.size != 0 ? torrent.size : (torrent.meta.hasFiles ? totalLength(torrent.meta) : 0);
    record.timestamp = torrent.timestamp;
    if (!record.infoKept) {
        record.meta.files.clear();
        record.meta.hasFiles = false;
    }
    return record;
}

TorrentStore::RecordMaker matrixRecordMaker() {
    return [](LoadedTorrent& torrent) { return matrixRecord(torrent); };
}

std::string matrixMediaType(const std::string& path) {
    const std::string ext = extensionOf(path);
    for (const MediaType& media : kMediaTypes) {
        if (listed(media.extensions, ext)) {
            return std::string(media.type);
        }
    }
    return ext == ".rmvb" ? "application/vnd.rn-realmedia-vbr" : std::string();
}

bool matrixPlayable(const std::string& path) {
    const std::string ext = extensionOf(path);
    return std::find(kVideo.begin(), kVideo.end(), ext) != kVideo.end() ||
           std::find(kAudio.begin(), kAudio.end(), ext) != kAudio.end();
}

} // namespace torrserver
