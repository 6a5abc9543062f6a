#include "playback/preload/today_stat_answer.h"

#include "connection/http/json_value_text.h"
#include "connection/list/member_text.h"

#include <limits>

namespace qb::playback {
namespace {
constexpr int kPreloadState = 2;

// A count the server may leave out: missing reads as 0.
std::optional<std::int32_t> count(const nlohmann::ordered_json& answer, const char* name) {
    const auto found = answer.find(name);
    if (found == answer.end() || found->is_null()) {
        return 0;
    }
    if (!found->is_number_integer()) {
        return std::nullopt;
    }
    if (found->is_number_unsigned()) {
        const auto value = found->get<std::uint64_t>();
        return value <= static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max())
                   ? std::optional(static_cast<std::int32_t>(value))
                   : std::nullopt;
    }
    const auto value = found->get<std::int64_t>();
    if (value < std::numeric_limits<std::int32_t>::min() ||
        value > std::numeric_limits<std::int32_t>::max()) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(value);
}
} // namespace

std::optional<PreloadStat> readTodayStatAnswer(const QByteArray& body) {
    const std::optional<nlohmann::ordered_json> answer = connection::parseJsonAnswer(body);
    if (!answer || !answer->is_object()) {
        return std::nullopt;
    }
    const std::optional<std::int32_t> size = count(*answer, "preload_size");
    const std::optional<std::int32_t> preloaded = count(*answer, "preloaded_bytes");
    if (!size || !preloaded) {
        return std::nullopt;
    }
    using connection::entryMemberText;
    const bool preloading = entryMemberText(*answer, "stat") == QString::number(kPreloadState);
    return PreloadStat{*size,
                       *preloaded,
                       entryMemberText(*answer, "connected_seeders"),
                       entryMemberText(*answer, "active_peers"),
                       entryMemberText(*answer, "download_speed"),
                       *size > 0 && *preloaded >= *size && !preloading};
}
} // namespace qb::playback
