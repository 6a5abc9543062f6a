#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace torrserver {

// The body of POST /torrents, as today's server binds it.
struct TorrentsRequest {
    std::string action, link, hash, title, category, poster, data;
    bool saveToDb = false;
};
std::optional<TorrentsRequest> parseTorrentsRequest(std::string_view body);

// The body of POST /viewed.
struct ViewedRequest {
    std::string action, hash;
    std::int64_t fileIndex = 0;
    double timecode = 0;
};
std::optional<ViewedRequest> parseViewedRequest(std::string_view body);

} // namespace torrserver
