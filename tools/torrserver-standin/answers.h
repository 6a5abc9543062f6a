#pragma once

#include "go_json.h"
#include "preload.h"
#include "torrent_store.h"

#include <optional>
#include <string>
#include <vector>

namespace torrserver {

// 0 added (saved, not loaded), 1 getting info, 2 preload, 3 working.
int statusOf(const TorrentEntry& entry, const std::optional<PreloadState>& preload);

std::string statusText(int status);

// The magnet without trackers that playlists carry.
std::string plainMagnet(const TorrentEntry& entry);
std::string playlistPath(const TorrentEntry& entry);
std::string viewPath(const std::string& hash, const std::string& filePath);
std::string preloadPath(const std::string& hash, const std::string& filePath);

Json listEntryJson(const TorrentEntry& entry, int status);
Json statJson(const TorrentEntry& entry, int status, const std::optional<PreloadState>& preload);

// The m3u of a torrent's audio and video files, addressed at `host`.
std::string torrentM3u(const TorrentEntry& entry, const std::string& host);
// The m3u of every saved torrent.
std::string allTorrentsM3u(const std::vector<TorrentEntry>& entries, const std::string& host);

} // namespace torrserver
