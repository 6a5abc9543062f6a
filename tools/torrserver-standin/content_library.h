#pragma once

#include "torrent_meta.h"

#include <map>
#include <mutex>
#include <optional>
#include <string>

namespace torrserver {

// The .torrent files of a content folder, by info-hash. Their data files, when present beside
// the .torrent file with the torrent's paths, are what the stand-in streams.
class ContentLibrary {
public:
    explicit ContentLibrary(std::string folder);

    // Looks the hash up, scanning the folder again on a miss so files added later are found.
    std::optional<TorrentMeta> find(const std::string& hash);

private:
    void scan();

    std::string folder_;
    std::mutex mutex_;
    std::map<std::string, TorrentMeta> byHash_;
};

} // namespace torrserver
