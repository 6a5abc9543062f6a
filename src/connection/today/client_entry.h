#pragma once

#include <nlohmann/json.hpp>

#include <set>

// Today's server describes a torrent by its status object ("title", "hash", "torrent_size",
// "stat", "file_stats", "data", ...). The window reads every torrent as the client's own entry,
// the form the older server's list gave: "Name", "Hash", "Length", "Status", "Magnet",
// "Playlist", "Info" and "Files" (each file with "Name", "Link", "Preload", "Size", "Viewed"
// and its server id "Id"). This turns one into the other.
namespace qb::connection::today {

// The client entry of a status object:
//   "Name"     the title, or the torrent's own name while it has none; a text
//   "Hash", "Length" (from "torrent_size"), "Status" (from "stat": 5 is "only in the
//              database")  the values as sent, left out when the server left them out
//   "Magnet"   the magnet a release of the tracker was added with (kept in "data"); otherwise
//              built from the hash, with the release marker "id_" + hexadecimal id as display
//              name when "data" holds a release id, the title when not
//   "Playlist" the torrent's m3u address
//   "Info"     the release id and poster as the older server kept them ("{}" for none)
//   "Files"    from "file_stats", or from the file list kept in "data" while the torrent is
//              only in the database; an empty array when neither is known
//   "Title", "Poster", "Category", "Data"  as sent, as texts (a later "set" passes them back)
// A value that is not an object gives an entry without members but "Files".
nlohmann::ordered_json clientEntry(const nlohmann::ordered_json& status);

// Marks the files with these server ids as viewed.
void markViewedFiles(nlohmann::ordered_json& entry, const std::set<long long>& viewedIds);

// The file list of a status object as the server keeps it in "data": [{id, path, length}, ...]
// from "file_stats". An empty array when it has none.
nlohmann::ordered_json serverFileList(const nlohmann::ordered_json& status);

} // namespace qb::connection::today
