// The stand-in's database file: the saved torrents, the 1.1 "Info" texts, the matrix viewed
// marks and settings, as one JSON object.
#include "torrent_store.h"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace torrserver {

namespace {
Json metaToJson(const TorrentMeta& meta) {
    Json out = {{"hash", meta.hash},
                {"name", meta.name},
                {"trackers", meta.trackers},
                {"hasFiles", meta.hasFiles},
                {"pieceLength", meta.pieceLength},
                {"dataRoot", meta.dataRoot}};
    Json files = Json::array();
    for (const FileMeta& file : meta.files) {
        files.push_back({{"path", file.path}, {"size", file.size}});
    }
    out["files"] = files;
    return out;
}

template <class T> T member(const Json& object, const char* name, T fallback) {
    const auto it = object.find(name);
    if (it == object.end()) {
        return fallback;
    }
    try {
        return it->template get<T>();
    } catch (const Json::exception&) {
        return fallback;
    }
}

TorrentMeta metaFromJson(const Json& in) {
    TorrentMeta meta;
    meta.hash = member<std::string>(in, "hash", "");
    meta.name = member<std::string>(in, "name", "");
    meta.trackers = member<std::vector<std::string>>(in, "trackers", {});
    meta.hasFiles = member<bool>(in, "hasFiles", false);
    meta.pieceLength = member<std::int64_t>(in, "pieceLength", 0);
    meta.dataRoot = member<std::string>(in, "dataRoot", "");
    for (const Json& file : member<Json>(in, "files", Json::array())) {
        if (file.is_object()) {
            meta.files.push_back(
                {member<std::string>(file, "path", ""), member<std::int64_t>(file, "size", 0)});
        }
    }
    return meta;
}

Json recordToJson(const SavedTorrent& record) {
    Json files = Json::array();
    for (const SavedFile& file : record.files) {
        files.push_back(
            {{"id", file.id}, {"path", file.path}, {"size", file.size}, {"viewed", file.viewed}});
    }
    return {{"meta", metaToJson(record.meta)},
            {"infoKept", record.infoKept},
            {"magnet", record.magnet},
            {"title", record.title},
            {"poster", record.poster},
            {"category", record.category},
            {"data", record.data},
            {"timestamp", record.timestamp},
            {"size", record.size},
            {"files", files}};
}

SavedTorrent recordFromJson(const Json& in) {
    SavedTorrent record;
    record.meta = metaFromJson(member<Json>(in, "meta", Json::object()));
    record.infoKept = member<bool>(in, "infoKept", false);
    record.magnet = member<std::string>(in, "magnet", "");
    record.title = member<std::string>(in, "title", "");
    record.poster = member<std::string>(in, "poster", "");
    record.category = member<std::string>(in, "category", "");
    record.data = member<std::string>(in, "data", "");
    record.timestamp = member<std::int64_t>(in, "timestamp", 0);
    record.size = member<std::int64_t>(in, "size", 0);
    for (const Json& file : member<Json>(in, "files", Json::array())) {
        if (file.is_object()) {
            record.files.push_back(
                {member<int>(file, "id", 0), member<std::string>(file, "path", ""),
                 member<std::int64_t>(file, "size", 0), member<bool>(file, "viewed", false)});
        }
    }
    return record;
}

// A record of the stand-in's first file format: an array of saved 1.1 torrents.
SavedTorrent recordFromFirstFormat(const Json& in, std::string& info) {
    SavedTorrent record;
    record.meta = metaFromJson(in["meta"]);
    record.infoKept = record.meta.hasFiles;
    record.magnet = magnetOf(record.meta.hash, record.meta.name, record.meta.trackers);
    record.title = member<std::string>(in, "title", "");
    if (record.title.empty()) {
        record.title = record.meta.name;
    }
    record.timestamp = member<std::int64_t>(in, "addTime", 0);
    record.size = totalLength(record.meta);
    const auto viewed = member<std::vector<std::size_t>>(in, "viewed", {});
    for (std::size_t i = 0; i < record.meta.files.size(); ++i) {
        const FileMeta& file = record.meta.files[i];
        const bool seen = std::find(viewed.begin(), viewed.end(), i) != viewed.end();
        record.files.push_back({static_cast<int>(i), file.path, file.size, seen});
    }
    info = member<std::string>(in, "info", "{}");
    return record;
}
} // namespace

void TorrentStore::persist() const {
    Json torrents = Json::array();
    for (const auto& [hash, record] : saved_) {
        torrents.push_back(recordToJson(record));
    }
    Json viewed = Json::object();
    for (const auto& [hash, files] : viewed_) {
        Json marks = Json::object();
        for (const auto& [index, timecode] : files) {
            marks[std::to_string(index)] = timecode;
        }
        viewed[hash] = marks;
    }
    const Json all = {
        {"torrents", torrents}, {"infos", infos_}, {"viewed", viewed}, {"settings", settings_}};
    const std::string temporary = databaseFile_ + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << all.dump(1);
        if (!out) {
            return;
        }
    }
    std::error_code ec;
    std::filesystem::rename(temporary, databaseFile_, ec);
}

void TorrentStore::restore() {
    std::ifstream in(databaseFile_, std::ios::binary);
    if (!in) {
        return;
    }
    const std::string text((std::istreambuf_iterator<char>(in)), {});
    const Json all = Json::parse(text, nullptr, false);
    if (all.is_array()) {
        for (const Json& item : all) {
            if (item.is_object() && item.contains("meta") && item["meta"].is_object()) {
                std::string info;
                SavedTorrent record = recordFromFirstFormat(item, info);
                if (!record.meta.hash.empty()) {
                    infos_[record.meta.hash] = info;
                    saved_[record.meta.hash] = std::move(record);
                }
            }
        }
        return;
    }
    if (!all.is_object()) {
        return;
    }
    for (const Json& item : member<Json>(all, "torrents", Json::array())) {
        if (item.is_object()) {
            SavedTorrent record = recordFromJson(item);
            if (!record.meta.hash.empty()) {
                saved_[record.meta.hash] = std::move(record);
            }
        }
    }
    infos_ = member<std::map<std::string, std::string>>(all, "infos", {});
    const Json viewed = member<Json>(all, "viewed", Json::object());
    for (const auto& [hash, marks] : viewed.items()) {
        if (!marks.is_object()) {
            continue;
        }
        for (const auto& [index, timecode] : marks.items()) {
            if (timecode.is_number()) {
                viewed_[hash][std::atoll(index.c_str())] = timecode.get<double>();
            }
        }
    }
    settings_ = member<Json>(all, "settings", Json());
}

} // namespace torrserver
