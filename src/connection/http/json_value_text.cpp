#include "connection/http/json_value_text.h"

#include "platform/text/text_codec.h"

#include <stdexcept>
#include <string>

namespace qb::connection {

namespace {
using Json = nlohmann::ordered_json;

bool nestsTooDeep(const QByteArray& text) {
    int depth = 0;
    bool inString = false;
    bool escaped = false;
    for (const char c : text) {
        if (inString) {
            if (escaped) {
                escaped = false;
            } else if (c == '\\') {
                escaped = true;
            } else if (c == '"') {
                inString = false;
            }
        } else if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            if (++depth > kMaxJsonAnswerDepth) {
                return true;
            }
        } else if (c == ']' || c == '}') {
            --depth;
        }
    }
    return false;
}
} // namespace

QString JsonValueText(const Json& object, std::string_view name) {
    if (!object.is_object()) {
        throw std::runtime_error("JSON value is not an object");
    }
    const auto member = object.find(name);
    if (member == object.end()) {
        return {};
    }
    switch (member->type()) {
    case Json::value_t::null:
        return {};
    case Json::value_t::string:
        return qb::platform::fromUtf8Exactly(member->get_ref<const std::string&>());
    case Json::value_t::number_integer:
        return QString::number(member->get<std::int64_t>());
    case Json::value_t::number_unsigned:
        return QString::number(member->get<std::uint64_t>());
    case Json::value_t::number_float:
        return QString::fromStdString(member->dump());
    case Json::value_t::boolean:
        return member->get<bool>() ? QStringLiteral("true") : QStringLiteral("false");
    default:
        throw std::runtime_error("JSON member \"" + std::string(name) + "\" is not a text value");
    }
}

QString compactJsonText(const Json& value) {
    return qb::platform::fromUtf8Exactly(
        value.dump(-1, ' ', false, Json::error_handler_t::replace));
}

std::optional<Json> parseJsonAnswer(const QByteArray& text) {
    if (nestsTooDeep(text)) {
        return std::nullopt;
    }
    Json parsed = Json::parse(text.cbegin(), text.cend(), nullptr, false);
    if (parsed.is_discarded()) {
        return std::nullopt;
    }
    return parsed;
}

} // namespace qb::connection
