#include "torrent_store.h"

#include "go_json.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace torrserver {

namespace {
std::int64_t unixNow() {
    return std::chrono::duration_cast<std::chrono::seconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

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

TorrentMeta metaFromJson(const Json& in) {
    TorrentMeta meta;
    meta.hash = in.value("hash", "");
    meta.name = in.value("name", "");
    meta.trackers = in.value("trackers", std::vector<std::string>{});
    meta.hasFiles = in.value("hasFiles", false);
    meta.pieceLength = in.value("pieceLength", std::int64_t{0});
    meta.dataRoot = in.value("dataRoot", "");
    for (const Json& file : in.value("files", Json::array())) {
        meta.files.push_back({file.value("path", ""), file.value("size", std::int64_t{0})});
    }
    return meta;
}
} // namespace

std::string mergeInfo(const std::string& stored, const std::string& added) {
    const nlohmann::json old = nlohmann::json::parse(stored, nullptr, false);
    const nlohmann::json now = nlohmann::json::parse(added, nullptr, false);
    if (!old.is_object() || !now.is_object()) {
        return added;
    }
    nlohmann::json merged = old;
    for (const auto& [key, value] : now.items()) {
        merged[key] = value;
    }
    // Go marshals a map with sorted keys, as nlohmann's default object does.
    return goDump(Json::parse(merged.dump()));
}

TorrentStore::TorrentStore(std::string databaseFolder, ContentLibrary& content,
                           std::chrono::milliseconds metadataDelay)
    : databaseFile_(databaseFolder + "/standin-torrents.json")
    , content_(content)
    , metadataDelay_(metadataDelay) {
    std::error_code ec;
    std::filesystem::create_directories(databaseFolder, ec);
    restore();
    ticker_ = std::thread([this] { tick(); });
}

TorrentStore::~TorrentStore() {
    stopping_ = true;
    changed_.notify_all();
    ticker_.join();
}

std::string TorrentStore::add(const TorrentMeta& meta, const AddOptions& options) {
    std::lock_guard lock(mutex_);
    auto [it, inserted] = entries_.try_emplace(meta.hash);
    TorrentEntry& entry = it->second;
    if (inserted) {
        entry.meta = meta;
        entry.addTime = unixNow();
        entry.info = options.info.value_or("{}");
    } else {
        if (options.info && !options.info->empty()) {
            entry.info = mergeInfo(entry.info, *options.info);
        }
        if (!entry.meta.hasFiles && meta.hasFiles) {
            entry.meta = meta;
        }
        if (entry.meta.name.empty()) {
            entry.meta.name = meta.name;
        }
    }
    if (!options.title.empty()) {
        entry.title = options.title;
    }
    entry.saved = entry.saved || options.save;
    if (!entry.loaded) {
        entry.loaded = true;
        entry.metadataDue =
            std::chrono::steady_clock::now() +
            (options.metadataAtOnce ? std::chrono::milliseconds(0) : metadataDelay_);
    }
    persist();
    changed_.notify_all();
    return meta.hash;
}

void TorrentStore::remove(const std::string& hash) {
    std::lock_guard lock(mutex_);
    if (entries_.erase(hash) > 0) {
        persist();
        changed_.notify_all();
    }
}

bool TorrentStore::load(const std::string& hash) {
    std::lock_guard lock(mutex_);
    const auto it = entries_.find(hash);
    if (it == entries_.end()) {
        return false;
    }
    if (!it->second.loaded) {
        it->second.loaded = true;
        it->second.metadataDue = std::chrono::steady_clock::now() + metadataDelay_;
    }
    return true;
}

std::optional<TorrentEntry> TorrentStore::get(const std::string& hash) const {
    std::lock_guard lock(mutex_);
    const auto it = entries_.find(hash);
    if (it == entries_.end()) {
        return std::nullopt;
    }
    return it->second;
}

std::vector<TorrentEntry> TorrentStore::list() const {
    std::vector<TorrentEntry> out;
    {
        std::lock_guard lock(mutex_);
        for (const auto& [hash, entry] : entries_) {
            out.push_back(entry);
        }
    }
    std::sort(out.begin(), out.end(), [](const TorrentEntry& a, const TorrentEntry& b) {
        if (a.addTime != b.addTime) {
            return a.addTime > b.addTime;
        }
        return a.name() < b.name();
    });
    return out;
}

void TorrentStore::markViewed(const std::string& hash, std::size_t fileIndex) {
    std::lock_guard lock(mutex_);
    const auto it = entries_.find(hash);
    if (it != entries_.end() && it->second.viewed.insert(fileIndex).second) {
        persist();
    }
}

std::optional<TorrentEntry>
TorrentStore::waitForFiles(const std::string& hash, std::chrono::steady_clock::time_point deadline,
                           const std::function<bool()>& cancelled) {
    std::unique_lock lock(mutex_);
    while (true) {
        const auto it = entries_.find(hash);
        if (it == entries_.end()) {
            return std::nullopt;
        }
        if (it->second.meta.hasFiles) {
            return it->second;
        }
        if (stopping_ || std::chrono::steady_clock::now() >= deadline || cancelled()) {
            return std::nullopt;
        }
        changed_.wait_for(lock, std::chrono::milliseconds(50));
    }
}

void TorrentStore::tick() {
    while (!stopping_) {
        resolveDue();
        std::unique_lock lock(mutex_);
        changed_.wait_for(lock, std::chrono::milliseconds(50));
    }
}

void TorrentStore::resolveDue() {
    std::vector<TorrentMeta> due;
    {
        std::lock_guard lock(mutex_);
        const auto now = std::chrono::steady_clock::now();
        for (const auto& [hash, entry] : entries_) {
            if (entry.loaded && !entry.meta.hasFiles && entry.metadataDue <= now) {
                due.push_back(entry.meta);
            }
        }
    }
    if (due.empty()) {
        return;
    }
    // The content folder is read without holding the lock.
    for (TorrentMeta& meta : due) {
        if (std::optional<TorrentMeta> found = content_.find(meta.hash)) {
            if (!meta.name.empty()) {
                found->name = meta.name;
            }
            meta = *found;
        } else {
            fillSyntheticFiles(meta);
        }
    }
    std::lock_guard lock(mutex_);
    for (const TorrentMeta& meta : due) {
        const auto it = entries_.find(meta.hash);
        if (it != entries_.end() && !it->second.meta.hasFiles) {
            it->second.meta = meta;
        }
    }
    persist();
    changed_.notify_all();
}

void TorrentStore::persist() const {
    Json all = Json::array();
    for (const auto& [hash, entry] : entries_) {
        if (!entry.saved) {
            continue;
        }
        all.push_back({{"meta", metaToJson(entry.meta)},
                       {"title", entry.title},
                       {"info", entry.info},
                       {"addTime", entry.addTime},
                       {"viewed", entry.viewed}});
    }
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
    if (!all.is_array()) {
        return;
    }
    for (const Json& item : all) {
        if (!item.is_object() || !item.contains("meta") || !item["meta"].is_object()) {
            continue;
        }
        TorrentEntry entry;
        entry.meta = metaFromJson(item["meta"]);
        if (entry.meta.hash.empty()) {
            continue;
        }
        entry.title = item.value("title", "");
        entry.info = item.value("info", "{}");
        entry.addTime = item.value("addTime", std::int64_t{0});
        entry.viewed = item.value("viewed", std::set<std::size_t>{});
        entry.saved = true;
        entries_[entry.meta.hash] = entry;
    }
}

} // namespace torrserver
