#include "matrix_request.h"

#include "go_decode.h"

namespace torrserver {

namespace {
std::string text(const Json& values, const char* name) {
    const auto it = values.find(name);
    return it == values.end() ? std::string() : it->get<std::string>();
}
} // namespace

std::optional<TorrentsRequest> parseTorrentsRequest(std::string_view body) {
    using Kind = GoField::Kind;
    const GoDecoded decoded = decodeGoObject(body, {{"action", Kind::String},
                                                    {"link", Kind::String},
                                                    {"hash", Kind::String},
                                                    {"title", Kind::String},
                                                    {"category", Kind::String},
                                                    {"poster", Kind::String},
                                                    {"data", Kind::String},
                                                    {"save_to_db", Kind::Bool}});
    if (!decoded.ok) {
        return std::nullopt;
    }
    const Json& v = decoded.values;
    TorrentsRequest request{
        text(v, "action"),   text(v, "link"),   text(v, "hash"), text(v, "title"),
        text(v, "category"), text(v, "poster"), text(v, "data"), false};
    request.saveToDb = v.value("save_to_db", false);
    return request;
}

std::optional<ViewedRequest> parseViewedRequest(std::string_view body) {
    using Kind = GoField::Kind;
    const GoDecoded decoded = decodeGoObject(body, {{"action", Kind::String},
                                                    {"hash", Kind::String},
                                                    {"file_index", Kind::Int},
                                                    {"timecode", Kind::Float}});
    if (!decoded.ok) {
        return std::nullopt;
    }
    const Json& v = decoded.values;
    ViewedRequest request{text(v, "action"), text(v, "hash"), 0, 0};
    request.fileIndex = v.value("file_index", std::int64_t{0});
    request.timecode = v.value("timecode", 0.0);
    return request;
}

} // namespace torrserver
