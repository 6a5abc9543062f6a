#pragma once

#include "routes.h"

#include <string>
#include <utility>
#include <vector>

namespace torrserver {

// How a file of a torrent is streamed: the headers each generation adds and the type.
struct StreamHeaders {
    std::vector<std::pair<std::string, std::string>> headers;
    std::string contentType;       // empty: chosen from the file's extension
    std::int64_t lastModified = 0; // Unix seconds; 0: no Last-Modified
};

// Streams a file of a loaded torrent as Go's http.ServeContent does: Range (the first range
// that overlaps the file) with 206, 416 with "Content-Range: bytes */<size>" for a range past
// the end, real bytes from the content folder or generated ones. The torrent counts a reader
// until the answer is done.
void streamFile(App& app, const Request& req, Response& res, const LoadedTorrent& torrent,
                std::size_t index, const StreamHeaders& extra);

// Go's strconv.Quote, as ETag values are written.
std::string goQuote(const std::string& text);

// An HTTP date (RFC 1123, GMT) of Unix seconds.
std::string httpDate(std::int64_t unixSeconds);

// The m3u answer both generations give: ETag, attachment name, Range served.
void sendPlaylist(Response& res, const std::string& text, const std::string& fileName,
                  const std::string& etag);

} // namespace torrserver
