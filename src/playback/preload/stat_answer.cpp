#include "playback/preload/stat_answer.h"

#include "connection/http/json_value_text.h"

#include <limits>
#include <stdexcept>

namespace qb::playback {
namespace {
QString shownText(const nlohmann::ordered_json& answer, const char* name) {
    try {
        return connection::JsonValueText(answer, name);
    } catch (const std::runtime_error&) {
        return {};
    }
}

std::optional<std::int32_t> byteCount(const nlohmann::ordered_json& answer, const char* name) {
    const QString text = shownText(answer, name);
    bool ok = false;
    const qlonglong value = text.toLongLong(&ok, 10);
    if (!ok || value < std::numeric_limits<std::int32_t>::min() ||
        value > std::numeric_limits<std::int32_t>::max()) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(value);
}
} // namespace

std::optional<PreloadStat> readStatAnswer(const QByteArray& body) {
    const std::optional<nlohmann::ordered_json> answer = connection::parseJsonAnswer(body);
    if (!answer || !answer->is_object()) {
        return std::nullopt;
    }
    const std::optional<std::int32_t> size = byteCount(*answer, "PreloadSize");
    const std::optional<std::int32_t> preloaded = byteCount(*answer, "PreloadedBytes");
    if (!size || !preloaded) {
        return std::nullopt;
    }
    return PreloadStat{*size,
                       *preloaded,
                       shownText(*answer, "ConnectedSeeders"),
                       shownText(*answer, "ActivePeers"),
                       shownText(*answer, "DownloadSpeed"),
                       *preloaded > *size};
}
} // namespace qb::playback
