#pragma once

#include "content_library.h"
#include "torrent_meta.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace torrserver {

struct TorrentEntry {
    TorrentMeta meta;
    std::string title;
    std::string info = "{}";
    std::int64_t addTime = 0;
    bool saved = false;  // kept in the database across restarts
    bool loaded = false; // active in this run of the server
    std::chrono::steady_clock::time_point metadataDue;
    std::set<std::size_t> viewed;

    std::string name() const { return title.empty() ? meta.name : title; }
};

struct AddOptions {
    std::string title;
    std::optional<std::string> info;
    bool save = true;
    bool metadataAtOnce = false; // a magnet gets its files without the metadata delay
};

// The torrents of the server: the saved ones (persisted as JSON in the database folder) and
// the ones loaded in this run. Metadata of magnets arrives after a delay, from the content
// folder or made up.
class TorrentStore {
public:
    TorrentStore(std::string databaseFolder, ContentLibrary& content,
                 std::chrono::milliseconds metadataDelay);
    ~TorrentStore();
    TorrentStore(const TorrentStore&) = delete;
    TorrentStore& operator=(const TorrentStore&) = delete;

    // Adds or loads a torrent and answers its hash; an existing one merges "Info".
    std::string add(const TorrentMeta& meta, const AddOptions& options);
    void remove(const std::string& hash);
    // Loads a saved torrent into the session; false when the hash is unknown.
    bool load(const std::string& hash);
    std::optional<TorrentEntry> get(const std::string& hash) const;
    // Newest AddTime first, then Name.
    std::vector<TorrentEntry> list() const;
    void markViewed(const std::string& hash, std::size_t fileIndex);

    // Waits until the torrent's files are known; nullopt when it vanished, the deadline passed
    // or `cancelled` said so.
    std::optional<TorrentEntry> waitForFiles(const std::string& hash,
                                             std::chrono::steady_clock::time_point deadline,
                                             const std::function<bool()>& cancelled);

private:
    void resolveDue();
    void persist() const; // callers hold mutex_
    void restore();
    void tick();

    std::string databaseFile_;
    ContentLibrary& content_;
    std::chrono::milliseconds metadataDelay_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::map<std::string, TorrentEntry> entries_;
    std::atomic<bool> stopping_{false};
    std::thread ticker_;
};

// Merges two "Info" texts: objects merge their keys (the later add wins), anything else is
// replaced by the later text.
std::string mergeInfo(const std::string& stored, const std::string& added);

} // namespace torrserver
