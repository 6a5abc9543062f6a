#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace torrserver {

// The JSON body of /torrent/add, /torrent/rem and /torrent/stat. Member names match without
// regard to letter case; a later member of the same name wins; null leaves a member unset.
struct TorrentRequest {
    std::string link;
    std::string hash;
    std::string title;
    std::string poster;
    std::optional<std::string> info;
    bool dontSave = false;
};

struct ParsedRequest {
    TorrentRequest request;
    std::string error; // empty on success: the message of the 400 answer otherwise
};

// Reads the first JSON value of the body, whatever follows it, as the server's decoder does.
ParsedRequest parseTorrentRequest(std::string_view body);

} // namespace torrserver
