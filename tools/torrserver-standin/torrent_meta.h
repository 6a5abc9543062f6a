#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace torrserver {

struct FileMeta {
    std::string path; // inside the torrent; begins with the torrent's folder for multi-file ones
    std::int64_t size = 0;
};

// What is known of a torrent: always its info-hash, and its files once the metadata is known.
struct TorrentMeta {
    std::string hash; // 40 lower-case hex digits
    std::string name; // the magnet's dn= or the info name; may be empty before the metadata
    std::vector<std::string> trackers;
    bool hasFiles = false;
    std::vector<FileMeta> files;
    std::int64_t pieceLength = 0;
    std::string dataRoot; // folder holding the real file data, empty when the bytes are generated
};

struct MetaResult {
    bool ok = false;
    TorrentMeta meta;
    std::string error;
};

// A magnet link, a bare info-hash, an http(s) address of a .torrent or a file:// path.
MetaResult parseLink(const std::string& link);

// The bytes of a .torrent file, bencoded.
MetaResult parseTorrentBytes(std::string_view bytes);

// A deterministic stand-in file set for a torrent whose metadata nobody can supply: one or
// three .mkv files and an .srt, sizes derived from the hash.
void fillSyntheticFiles(TorrentMeta& meta);

// "magnet:?xt=urn:btih:<hash>[&dn=<name>][&tr=<tracker>...]" with query-escaped values.
std::string magnetOf(const std::string& hash, const std::string& name,
                     const std::vector<std::string>& trackers);

std::int64_t totalLength(const TorrentMeta& meta);

} // namespace torrserver
