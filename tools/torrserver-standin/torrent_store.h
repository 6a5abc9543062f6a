#pragma once

#include "content_library.h"
#include "go_json.h"
#include "torrent_records.h"
#include "unload_timings.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace torrserver {

// How a torrent is loaded.
struct LoadOptions {
    std::string displayName;     // the link's name (dn), or a title given for it
    bool metadataAtOnce = false; // its files are known without the metadata delay
    OnInfo onInfo;
    // Fills in a new torrent's own fields before anything else can see it: with no metadata
    // delay its metadata, and the save that follows, may come before the add has returned.
    std::function<void(LoadedTorrent&)> prepare;
};

// The torrents of the server: the database (persisted as JSON in the database folder) and the
// ones loaded in this run, which get their metadata after a delay (from the content folder or
// made up), are unloaded when idle and are closed when no metadata comes in time.
class TorrentStore {
public:
    using Clock = std::chrono::steady_clock;
    // When the torrent's last preload ended (now while one runs); nullopt: never preloaded.
    using PreloadEnd = std::function<std::optional<Clock::time_point>(const std::string& hash)>;
    // Makes the database record of a loaded torrent whose metadata has arrived.
    using RecordMaker = std::function<SavedTorrent(LoadedTorrent&)>;

    TorrentStore(std::string databaseFolder, ContentLibrary& content,
                 std::chrono::milliseconds metadataDelay, UnloadTimings timings);
    ~TorrentStore();
    TorrentStore(const TorrentStore&) = delete;
    TorrentStore& operator=(const TorrentStore&) = delete;

    void setPreloadEnd(PreloadEnd preloadEnd);
    // Told of every torrent that leaves the memory (dropped, removed, idle or without metadata
    // in time): a torrent loaded again starts afresh, its preloaded bytes included.
    void setOnUnload(std::function<void(const std::string& hash)> onUnload);
    void setRecordMaker(RecordMaker maker);

    // Loads a torrent unless it is loaded; answers the loaded torrent and whether this call
    // loaded it. A torrent of the database whose info is kept has its files at once.
    std::pair<LoadedTorrent, bool> load(const TorrentMeta& meta, const LoadOptions& options);
    std::optional<LoadedTorrent> loaded(const std::string& hash) const;
    std::vector<LoadedTorrent> allLoaded() const;
    // Changes a loaded torrent; false when it is not loaded.
    bool update(const std::string& hash, const std::function<void(LoadedTorrent&)>& change);
    // A request looked the torrent up: a matrix server keeps it a while longer.
    void touch(const std::string& hash);
    // Closes a loaded torrent (it stays in the database).
    void unload(const std::string& hash);

    std::optional<SavedTorrent> saved(const std::string& hash) const;
    // The database, newest first.
    std::vector<SavedTorrent> allSaved() const;
    void save(const SavedTorrent& record);
    // Saves the loaded torrent's record, made by the record maker; false when not loaded.
    bool saveLoaded(const std::string& hash);
    bool updateSaved(const std::string& hash, const std::function<void(SavedTorrent&)>& change);
    void removeSaved(const std::string& hash);

    // A stream of the torrent opens or closes: no unloading meanwhile.
    void openReader(const std::string& hash);
    void closeReader(const std::string& hash);

    // Waits until the torrent's files are known; nullopt when it was closed, the deadline
    // passed or `cancelled` said so.
    std::optional<LoadedTorrent> waitForFiles(const std::string& hash, Clock::time_point deadline,
                                              const std::function<bool()>& cancelled);

    // 1.1: the "Info" text kept per hash ("{}" when none); a later one merges its keys.
    std::string info(const std::string& hash) const;
    void addInfo(const std::string& hash, const std::string& text);

    // Matrix: viewed marks, file index to time code, per hash.
    std::map<std::string, std::map<std::int64_t, double>> viewed() const;
    void setViewed(const std::string& hash, std::int64_t fileIndex, double timecode);
    void removeViewed(const std::string& hash, std::int64_t fileIndex); // -1: every file

    // Matrix: the settings object ("BTSets"); null until something set it.
    Json settings() const;
    void setSettings(const Json& settings);

    // The metadata delay of loads from now on.
    void setMetadataDelay(std::chrono::milliseconds delay) { metadataDelay_ = delay; }
    const UnloadTimings& timings() const { return timings_; }

private:
    void moveExpiry(LoadedTorrent& torrent, std::chrono::milliseconds after) const;
    void resolveDue();
    void closeIdle();
    void persist() const; // callers hold mutex_
    void restore();
    void tick();

    std::string databaseFile_;
    ContentLibrary& content_;
    std::atomic<std::chrono::milliseconds> metadataDelay_;
    UnloadTimings timings_;
    PreloadEnd preloadEnd_;
    std::function<void(const std::string&)> onUnload_;
    RecordMaker recordMaker_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::map<std::string, LoadedTorrent> loaded_;
    std::map<std::string, SavedTorrent> saved_;
    std::map<std::string, std::string> infos_;
    std::map<std::string, std::map<std::int64_t, double>> viewed_;
    Json settings_;
    std::atomic<bool> stopping_{false};
    std::thread ticker_;
};

// Merges two "Info" texts: objects merge their keys (the later add wins), anything else is
// replaced by the later text.
std::string mergeInfo(const std::string& stored, const std::string& added);

std::int64_t unixNow();

} // namespace torrserver
