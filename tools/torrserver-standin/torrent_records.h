#pragma once

#include "torrent_meta.h"

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

namespace torrserver {

// A file as the 1.1 server's database lists it.
struct SavedFile {
    int id = 0;
    std::string path;
    std::int64_t size = 0;
    bool viewed = false;
};

// A torrent as the server's database keeps it across restarts.
struct SavedTorrent {
    TorrentMeta meta;      // hash and trackers; the files too when the info is kept
    bool infoKept = false; // a load of it has its files at once (a .torrent's info bytes)
    std::string magnet;    // 1.1: the magnet it was added with
    std::string title;     // 1.1: the torrent's name; matrix: its title
    std::string poster;    // matrix
    std::string category;  // matrix
    std::string data;      // matrix
    std::int64_t timestamp = 0;
    std::int64_t size = 0;
    std::vector<SavedFile> files; // 1.1
};

// What happens when a loaded torrent's metadata arrives.
struct OnInfo {
    bool save = false;          // save it to the database (unless it is there already: 1.1)
    bool saveReplaces = false;  // matrix: a save replaces the database's record
    bool titleFromLink = false; // matrix add: an empty title becomes the link's name
    bool titleFromName = false; // matrix upload: an empty title becomes the torrent's name
};

// Today's server's title for a torrent added by link without one: the link's name without
// "rutor.info", its "_" as blanks, trimmed.
std::string titleFromLinkName(std::string name);

// A torrent loaded in this run of the server.
struct LoadedTorrent {
    TorrentMeta meta;        // meta.hasFiles once the metadata has arrived; meta.name its name
    std::string displayName; // the name the link gave (dn), shown until the metadata arrives
    std::string title;       // matrix
    std::string poster;      // matrix
    std::string category;    // matrix
    std::string data;        // matrix
    std::int64_t timestamp = 0;
    std::int64_t size = 0; // matrix: the size the database knew, until the metadata arrives
    bool infoKept = false; // loaded from a .torrent (or a record keeping its info)
    std::chrono::steady_clock::time_point metadataDue;
    std::chrono::steady_clock::time_point metadataDeadline;
    std::chrono::steady_clock::time_point expires;
    int readers = 0;
    OnInfo onInfo;

    // The torrent's name as its client library gives it.
    std::string name() const {
        if (meta.hasFiles) {
            return meta.name;
        }
        return displayName.empty() ? "infohash:" + meta.hash : displayName;
    }
};

} // namespace torrserver
