#pragma once

#include "matrix_routes.h"

#include <string>

namespace torrserver {

// The m3u entries of a torrent's playable files from the one with id `startIndex` (or, with
// `fromLast`, from the last one viewed): "#EXTINF:0,<base name>", a VLC option naming the
// files whose paths hold the file's name (subtitles, audio), then
// "<origin>/stream/<base name>?link=<hash>&index=<id>&play".
std::string matrixM3uList(App& app, const LoadedTorrent& torrent, const std::string& origin,
                          bool fromLast, const std::string& startIndex);

// The m3u answer of a torrent: `fname` names the attachment ("<name>.m3u" when empty).
void sendMatrixM3u(App& app, const Request& req, Response& res, const LoadedTorrent& torrent,
                   const std::string& fname, bool fromLast, const std::string& startIndex);

// "http://" and the request's Host.
std::string matrixOrigin(const App& app, const Request& req);

} // namespace torrserver
