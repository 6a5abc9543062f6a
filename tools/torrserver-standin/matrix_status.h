#pragma once

#include "go_json.h"
#include "preload.h"
#include "torrent_records.h"

#include <optional>
#include <string>
#include <vector>

namespace torrserver {

// Today's server's status object ("state.TorrentStatus") and what goes with it.

struct MatrixFile {
    int id = 0; // from 1
    std::string path;
    std::int64_t size = 0;
    std::size_t index = 0; // the file's place in the torrent
};

// The torrent's files as the status lists them: sorted by path, runs of digits compared as
// numbers where the paths differ, with ids from 1 in that order.
std::vector<MatrixFile> matrixFiles(const TorrentMeta& meta);

// The order of two paths that the server's sort uses.
bool matrixPathBefore(const std::string& first, const std::string& second);

// 0 added, 1 getting info, 2 preload, 3 working, 4 closed, 5 in the database only.
int matrixStat(const LoadedTorrent& torrent, const std::optional<PreloadState>& preload);

// The status of a loaded torrent; members that are zero or empty are left out, as the
// server's `omitempty` does.
Json matrixStatus(const LoadedTorrent& torrent, const std::optional<PreloadState>& preload);
// The status of a torrent held only in the database: stat 5, no name, no files.
Json matrixSavedStatus(const SavedTorrent& record);

// The "data" the server keeps for a torrent saved without any: its files.
std::string matrixFilesData(const TorrentMeta& meta);

// The database record of a loaded torrent, as the server saves it (its data becomes the files
// when it has none, in memory too).
SavedTorrent matrixRecord(LoadedTorrent& torrent);

// The media types the server streams with a type of their own ("video/x-matroska", ...);
// empty for files the server leaves to the extension table.
std::string matrixMediaType(const std::string& path);
// The server's playable files: a video or audio extension, in any letter case.
bool matrixPlayable(const std::string& path);

} // namespace torrserver
