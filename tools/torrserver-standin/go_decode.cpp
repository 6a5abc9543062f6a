#include "go_decode.h"

#include "text_escape.h"

#include <cmath>
#include <cstdint>
#include <sstream>

namespace torrserver {

namespace {
bool fits(const Json& value, GoField::Kind kind) {
    switch (kind) {
    case GoField::Kind::String:
        return value.is_string();
    case GoField::Kind::Bool:
        return value.is_boolean();
    case GoField::Kind::Int:
        // Go decodes a literal with a fraction or an exponent into an int as an error.
        return value.is_number_integer() &&
               !(value.is_number_unsigned() && value.get<std::uint64_t>() > INT64_MAX);
    case GoField::Kind::Float:
        return value.is_number();
    case GoField::Kind::Object:
        return value.is_object();
    }
    return false;
}
} // namespace

GoDecoded decodeGoObject(std::string_view body, const std::vector<GoField>& fields) {
    GoDecoded decoded;
    if (body.find_first_not_of(" \t\r\n") == std::string_view::npos) {
        return decoded;
    }
    Json value;
    try {
        std::istringstream in{std::string(body)};
        in >> value;
    } catch (const Json::exception&) {
        return decoded;
    }
    if (value.is_null()) {
        decoded.ok = true;
        return decoded;
    }
    if (!value.is_object()) {
        return decoded;
    }
    for (const auto& [key, member] : value.items()) {
        for (const GoField& field : fields) {
            if (!equalsIgnoreCase(key, field.name) || member.is_null()) {
                continue;
            }
            if (!fits(member, field.kind)) {
                return decoded;
            }
            if (field.kind == GoField::Kind::Float && !std::isfinite(member.get<double>())) {
                return decoded;
            }
            decoded.values[field.name] = member;
        }
    }
    decoded.ok = true;
    return decoded;
}

} // namespace torrserver
