#pragma once

#include "address_forms.h"
#include "go_json.h"
#include "preload.h"
#include "torrent_records.h"

#include <optional>
#include <string>
#include <vector>

namespace torrserver {

// The 1.1 servers' answers, built from the database's records and the loaded torrents.

// 0 added, 1 getting info, 2 preload, 3 working, as a loaded torrent shows.
int v11Status(const LoadedTorrent& torrent, const std::optional<PreloadState>& preload);
std::string v11StatusText(int status);

// A file is playable when its extension (as written) is a video or audio one.
bool v11Playable(const std::string& path);

// The torrent's files sorted by path, each with its place in that order as its id.
std::vector<SavedFile> v11FileStats(const TorrentMeta& meta);

// The database record of a torrent added with `save` once its metadata arrived. 1.1.77 keeps
// the info of a .torrent; older servers keep only the magnet.
SavedTorrent v11AddedRecord(const LoadedTorrent& torrent, AddressForms forms);
// The record a list entry of a loaded torrent is made from, and that a play with "save=true"
// saves: its playable files only, the server's start as its time.
SavedTorrent v11LoadedRecord(const LoadedTorrent& torrent, std::int64_t startTime);

// A /torrent/list entry (and /torrent/get's answer).
Json v11ListEntry(const SavedTorrent& record, int status, const std::string& info,
                  AddressForms forms);

// The /torrent/stat answer, and the play state /torrent/play answers (playable files only).
Json v11StatJson(const LoadedTorrent& torrent, int status,
                 const std::optional<PreloadState>& preload);
Json v11PlayState(const LoadedTorrent& torrent, int status,
                  const std::optional<PreloadState>& preload);

// The m3u of a torrent's playable files, addressed at `origin` ("http://host:port").
std::string v11TorrentM3u(const LoadedTorrent& torrent, const std::string& origin,
                          AddressForms forms);
// /torrent/playlist.m3u: every saved torrent, in the database's order (by hash).
std::string v11AllM3u(const std::vector<SavedTorrent>& records, const std::string& origin,
                      AddressForms forms);

} // namespace torrserver
