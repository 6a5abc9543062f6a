#include "torrent_store.h"

#include <algorithm>
#include <filesystem>

namespace torrserver {

std::string titleFromLinkName(std::string name) {
    for (std::size_t at = name.find("rutor.info"); at != std::string::npos;
         at = name.find("rutor.info", at)) {
        name.erase(at, 10);
    }
    std::replace(name.begin(), name.end(), '_', ' ');
    const auto first = name.find_first_not_of(' ');
    if (first == std::string::npos) {
        return {};
    }
    return name.substr(first, name.find_last_not_of(' ') - first + 1);
}

std::int64_t unixNow() {
    return std::chrono::duration_cast<std::chrono::seconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

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
                           std::chrono::milliseconds metadataDelay, UnloadTimings timings)
    : databaseFile_(databaseFolder + "/standin-torrents.json")
    , content_(content)
    , metadataDelay_(metadataDelay)
    , timings_(timings) {
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

void TorrentStore::setPreloadEnd(PreloadEnd preloadEnd) {
    std::lock_guard lock(mutex_);
    preloadEnd_ = std::move(preloadEnd);
}

void TorrentStore::setOnUnload(std::function<void(const std::string& hash)> onUnload) {
    std::lock_guard lock(mutex_);
    onUnload_ = std::move(onUnload);
}

void TorrentStore::setRecordMaker(RecordMaker maker) {
    std::lock_guard lock(mutex_);
    recordMaker_ = std::move(maker);
}

void TorrentStore::moveExpiry(LoadedTorrent& torrent, std::chrono::milliseconds after) const {
    const Clock::time_point until = Clock::now() + after;
    if (!timings_.extendOnly || torrent.expires < until) {
        torrent.expires = until;
    }
}

std::pair<LoadedTorrent, bool> TorrentStore::load(const TorrentMeta& meta,
                                                  const LoadOptions& options) {
    std::lock_guard lock(mutex_);
    if (const auto it = loaded_.find(meta.hash); it != loaded_.end()) {
        return {it->second, false};
    }
    LoadedTorrent torrent;
    torrent.meta = meta;
    torrent.displayName = options.displayName;
    torrent.timestamp = unixNow();
    torrent.onInfo = options.onInfo;
    torrent.infoKept = meta.hasFiles;
    bool atOnce = options.metadataAtOnce || meta.hasFiles;
    if (const auto saved = saved_.find(meta.hash); saved != saved_.end() && !meta.hasFiles) {
        if (saved->second.infoKept && saved->second.meta.hasFiles) {
            torrent.meta.files = saved->second.meta.files;
            torrent.meta.name = saved->second.meta.name;
            torrent.meta.pieceLength = saved->second.meta.pieceLength;
            torrent.meta.dataRoot = saved->second.meta.dataRoot;
            torrent.meta.hasFiles = true;
            torrent.infoKept = true;
            atOnce = true;
        }
        if (torrent.meta.trackers.empty()) {
            torrent.meta.trackers = saved->second.meta.trackers;
        }
    }
    if (!torrent.meta.hasFiles) {
        torrent.meta.files.clear();
    }
    const Clock::time_point now = Clock::now();
    torrent.metadataDue = atOnce ? now : now + metadataDelay_.load();
    torrent.metadataDeadline = now + timings_.metadataTimeout;
    torrent.expires = now + timings_.afterTouch;
    if (torrent.meta.hasFiles) {
        moveExpiry(torrent, timings_.afterInfo);
    }
    if (options.prepare) {
        options.prepare(torrent);
    }
    loaded_[meta.hash] = torrent;
    changed_.notify_all();
    return {torrent, true};
}

std::optional<LoadedTorrent> TorrentStore::loaded(const std::string& hash) const {
    std::lock_guard lock(mutex_);
    const auto it = loaded_.find(hash);
    return it == loaded_.end() ? std::nullopt : std::optional(it->second);
}

std::vector<LoadedTorrent> TorrentStore::allLoaded() const {
    std::lock_guard lock(mutex_);
    std::vector<LoadedTorrent> out;
    for (const auto& [hash, torrent] : loaded_) {
        out.push_back(torrent);
    }
    return out;
}

bool TorrentStore::update(const std::string& hash,
                          const std::function<void(LoadedTorrent&)>& change) {
    std::lock_guard lock(mutex_);
    const auto it = loaded_.find(hash);
    if (it == loaded_.end()) {
        return false;
    }
    change(it->second);
    changed_.notify_all();
    return true;
}

void TorrentStore::touch(const std::string& hash) {
    std::lock_guard lock(mutex_);
    if (const auto it = loaded_.find(hash); it != loaded_.end() && timings_.extendOnly) {
        moveExpiry(it->second, timings_.afterTouch);
    }
}

void TorrentStore::unload(const std::string& hash) {
    std::function<void(const std::string&)> onUnload;
    {
        std::lock_guard lock(mutex_);
        if (loaded_.erase(hash) == 0) {
            return;
        }
        changed_.notify_all();
        onUnload = onUnload_;
    }
    if (onUnload) {
        onUnload(hash);
    }
}

std::optional<SavedTorrent> TorrentStore::saved(const std::string& hash) const {
    std::lock_guard lock(mutex_);
    const auto it = saved_.find(hash);
    return it == saved_.end() ? std::nullopt : std::optional(it->second);
}

std::vector<SavedTorrent> TorrentStore::allSaved() const {
    std::vector<SavedTorrent> out;
    {
        std::lock_guard lock(mutex_);
        for (const auto& [hash, record] : saved_) {
            out.push_back(record);
        }
    }
    std::stable_sort(out.begin(), out.end(), [](const SavedTorrent& a, const SavedTorrent& b) {
        return a.timestamp > b.timestamp;
    });
    return out;
}

void TorrentStore::save(const SavedTorrent& record) {
    std::lock_guard lock(mutex_);
    saved_[record.meta.hash] = record;
    persist();
}

bool TorrentStore::saveLoaded(const std::string& hash) {
    std::lock_guard lock(mutex_);
    const auto it = loaded_.find(hash);
    if (it == loaded_.end() || !recordMaker_) {
        return false;
    }
    saved_[hash] = recordMaker_(it->second);
    persist();
    return true;
}

bool TorrentStore::updateSaved(const std::string& hash,
                               const std::function<void(SavedTorrent&)>& change) {
    std::lock_guard lock(mutex_);
    const auto it = saved_.find(hash);
    if (it == saved_.end()) {
        return false;
    }
    change(it->second);
    persist();
    return true;
}

void TorrentStore::removeSaved(const std::string& hash) {
    std::lock_guard lock(mutex_);
    if (saved_.erase(hash) > 0) {
        persist();
    }
}

void TorrentStore::openReader(const std::string& hash) {
    std::lock_guard lock(mutex_);
    if (const auto it = loaded_.find(hash); it != loaded_.end()) {
        ++it->second.readers;
    }
}

void TorrentStore::closeReader(const std::string& hash) {
    std::lock_guard lock(mutex_);
    if (const auto it = loaded_.find(hash); it != loaded_.end() && it->second.readers > 0) {
        --it->second.readers;
        moveExpiry(it->second, timings_.afterReaderClose);
    }
}

std::optional<LoadedTorrent> TorrentStore::waitForFiles(const std::string& hash,
                                                        Clock::time_point deadline,
                                                        const std::function<bool()>& cancelled) {
    std::unique_lock lock(mutex_);
    while (true) {
        const auto it = loaded_.find(hash);
        if (it == loaded_.end()) {
            return std::nullopt;
        }
        if (it->second.meta.hasFiles) {
            return it->second;
        }
        if (stopping_ || Clock::now() >= deadline || cancelled()) {
            return std::nullopt;
        }
        changed_.wait_for(lock, std::chrono::milliseconds(50));
    }
}

std::string TorrentStore::info(const std::string& hash) const {
    std::lock_guard lock(mutex_);
    const auto it = infos_.find(hash);
    return it == infos_.end() ? "{}" : it->second;
}

void TorrentStore::addInfo(const std::string& hash, const std::string& text) {
    std::lock_guard lock(mutex_);
    const auto it = infos_.find(hash);
    infos_[hash] = it == infos_.end() || it->second == "{}" ? text : mergeInfo(it->second, text);
    persist();
}

std::map<std::string, std::map<std::int64_t, double>> TorrentStore::viewed() const {
    std::lock_guard lock(mutex_);
    return viewed_;
}

void TorrentStore::setViewed(const std::string& hash, std::int64_t fileIndex, double timecode) {
    std::lock_guard lock(mutex_);
    viewed_[hash][fileIndex] = timecode;
    persist();
}

void TorrentStore::removeViewed(const std::string& hash, std::int64_t fileIndex) {
    std::lock_guard lock(mutex_);
    if (fileIndex == -1) {
        viewed_.erase(hash);
    } else if (const auto it = viewed_.find(hash); it != viewed_.end()) {
        it->second.erase(fileIndex);
    }
    persist();
}

Json TorrentStore::settings() const {
    std::lock_guard lock(mutex_);
    return settings_;
}

void TorrentStore::setSettings(const Json& settings) {
    std::lock_guard lock(mutex_);
    settings_ = settings;
    persist();
}

void TorrentStore::tick() {
    while (!stopping_) {
        resolveDue();
        closeIdle();
        std::unique_lock lock(mutex_);
        changed_.wait_for(lock, std::chrono::milliseconds(50));
    }
}

void TorrentStore::resolveDue() {
    std::vector<TorrentMeta> due;
    {
        std::lock_guard lock(mutex_);
        const auto now = Clock::now();
        for (const auto& [hash, torrent] : loaded_) {
            if (!torrent.meta.hasFiles && torrent.metadataDue <= now &&
                torrent.metadataDue < torrent.metadataDeadline) {
                due.push_back(torrent.meta);
                if (due.back().name.empty()) {
                    due.back().name = torrent.displayName;
                }
            }
        }
    }
    if (due.empty()) {
        return;
    }
    // The content folder is read without holding the lock.
    for (TorrentMeta& meta : due) {
        if (std::optional<TorrentMeta> found = content_.find(meta.hash)) {
            found->trackers = meta.trackers;
            meta = *found;
        } else {
            fillSyntheticFiles(meta);
        }
    }
    std::lock_guard lock(mutex_);
    for (const TorrentMeta& meta : due) {
        const auto it = loaded_.find(meta.hash);
        if (it == loaded_.end() || it->second.meta.hasFiles) {
            continue;
        }
        LoadedTorrent& torrent = it->second;
        torrent.meta = meta;
        moveExpiry(torrent, timings_.afterInfo);
        if (torrent.onInfo.titleFromLink && torrent.title.empty()) {
            torrent.title = titleFromLinkName(torrent.displayName);
        }
        if ((torrent.onInfo.titleFromLink || torrent.onInfo.titleFromName) &&
            torrent.title.empty()) {
            torrent.title = torrent.name();
        }
        const bool known = saved_.count(meta.hash) > 0;
        if (torrent.onInfo.save && recordMaker_ && (torrent.onInfo.saveReplaces || !known)) {
            saved_[meta.hash] = recordMaker_(torrent);
        }
    }
    persist();
    changed_.notify_all();
}

void TorrentStore::closeIdle() {
    std::vector<std::string> hashes;
    {
        std::lock_guard lock(mutex_);
        for (const auto& [hash, torrent] : loaded_) {
            hashes.push_back(hash);
        }
    }
    // Preload ends are asked, and unloads told, without holding the lock.
    std::map<std::string, std::optional<Clock::time_point>> preloadEnds;
    PreloadEnd preloadEnd;
    std::function<void(const std::string&)> onUnload;
    {
        std::lock_guard lock(mutex_);
        preloadEnd = preloadEnd_;
        onUnload = onUnload_;
    }
    for (const std::string& hash : hashes) {
        preloadEnds[hash] = preloadEnd ? preloadEnd(hash) : std::nullopt;
    }
    std::vector<std::string> removed;
    std::unique_lock lock(mutex_);
    const auto now = Clock::now();
    for (auto it = loaded_.begin(); it != loaded_.end();) {
        const LoadedTorrent& torrent = it->second;
        bool close = !torrent.meta.hasFiles && now >= torrent.metadataDeadline;
        if (torrent.meta.hasFiles && !timings_.never && torrent.readers == 0) {
            Clock::time_point until = torrent.expires;
            if (const auto end = preloadEnds[it->first]) {
                until = std::max(until, *end + timings_.afterPreload);
            }
            close = now >= until;
        }
        if (close) {
            removed.push_back(it->first);
            it = loaded_.erase(it);
        } else {
            ++it;
        }
    }
    if (removed.empty()) {
        return;
    }
    changed_.notify_all();
    lock.unlock();
    for (const std::string& hash : removed) {
        if (onUnload) {
            onUnload(hash);
        }
    }
}

} // namespace torrserver
