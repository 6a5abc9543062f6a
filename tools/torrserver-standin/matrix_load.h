#pragma once

#include "routes.h"

#include <optional>
#include <string>

namespace torrserver {

// Today's server's ways to find and load torrents (server/torr/apihelper.go).

// What GetTorrent finds: the loaded torrent (kept a while longer), or the database's record,
// which it then starts loading in the background.
struct FoundTorrent {
    std::optional<LoadedTorrent> loaded;
    std::optional<SavedTorrent> saved;
    bool found() const { return loaded || saved; }
};
FoundTorrent matrixGetTorrent(App& app, const std::string& hash);

// The fields a torrent is added with; empty ones are taken from the database's record.
struct AddFields {
    std::string title, poster, data, category;
};

// What follows the metadata of an add by link (an empty title becomes the link's name) or of
// an upload (it becomes the torrent's name); saved when asked to, replacing the database's.
OnInfo matrixOnInfo(bool save, bool fromLink);

// AddTorrent: loads the torrent unless it is loaded, then fills its empty title, category,
// poster and data from `fields`, else from the database (the title, else from its info).
LoadedTorrent matrixAddTorrent(App& app, const TorrentMeta& linked, const AddFields& fields,
                               const OnInfo& onInfo = {});

// GetTorrent of a hash a request named, as /playlist and /cache look it up: an empty hash
// answers 400, one that is not 40 hex digits 500, an unknown one 404 (nullopt then).
std::optional<FoundTorrent> matrixFindNamed(App& app, const std::string& hash, Response& res);

// Waits for the torrent's metadata as the server does (a minute and the disconnect time);
// nullopt when it was closed meanwhile.
std::optional<LoadedTorrent> matrixGotInfo(App& app, const std::string& hash);

// True when `text` is 40 hex digits (what the server's hash decoding takes without a panic).
bool matrixHashOk(const std::string& text);

} // namespace torrserver
