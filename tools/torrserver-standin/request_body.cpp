#include "request_body.h"

#include "go_json.h"
#include "text_escape.h"

#include <sstream>

namespace torrserver {

namespace {
std::string goTypeName(const Json& value) {
    if (value.is_object()) {
        return "object";
    }
    if (value.is_array()) {
        return "array";
    }
    if (value.is_string()) {
        return "string";
    }
    if (value.is_boolean()) {
        return "bool";
    }
    return "number";
}

std::string typeError(const std::string& expected, const Json& got, const std::string& field) {
    return "Unmarshal type error: expected=" + expected + ", got=" + goTypeName(got) +
           ", field=" + field;
}

bool isBlank(std::string_view body) {
    return body.find_first_not_of(" \t\r\n") == std::string_view::npos;
}

std::string syntaxError(std::string_view body, std::size_t offset) {
    if (offset >= body.size()) {
        return "unexpected EOF";
    }
    const char c = body[offset > 0 ? offset - 1 : 0];
    return "Syntax error: offset=" + std::to_string(offset) + ", error=invalid character '" +
           std::string(1, c) + "' looking for beginning of value";
}
} // namespace

ParsedRequest parseTorrentRequest(std::string_view body) {
    ParsedRequest parsed;
    if (isBlank(body)) {
        parsed.error = "EOF";
        return parsed;
    }
    Json value;
    try {
        std::istringstream in{std::string(body)};
        in >> value;
    } catch (const Json::parse_error& e) {
        parsed.error = syntaxError(body, e.byte);
        return parsed;
    } catch (const Json::out_of_range&) {
        // A number too large for a double ("1e999"), which Go's decoder refuses as well.
        parsed.error = "json: cannot unmarshal number into Go value of type float64";
        return parsed;
    }
    if (value.is_null()) {
        return parsed;
    }
    if (!value.is_object()) {
        parsed.error = typeError("object", value, "");
        return parsed;
    }
    struct StringField {
        const char* name;
        std::string* target;
    };
    TorrentRequest& r = parsed.request;
    const StringField fields[] = {
        {"Link", &r.link}, {"Hash", &r.hash}, {"Title", &r.title}, {"Poster", &r.poster}};
    for (const auto& [key, member] : value.items()) {
        if (member.is_null()) {
            continue;
        }
        for (const StringField& field : fields) {
            if (equalsIgnoreCase(key, field.name)) {
                if (!member.is_string()) {
                    parsed.error = typeError("string", member, field.name);
                    return parsed;
                }
                *field.target = member.get<std::string>();
            }
        }
        if (equalsIgnoreCase(key, "Info")) {
            if (!member.is_string()) {
                parsed.error = typeError("string", member, "Info");
                return parsed;
            }
            r.info = member.get<std::string>();
        } else if (equalsIgnoreCase(key, "DontSave")) {
            if (!member.is_boolean()) {
                parsed.error = typeError("bool", member, "DontSave");
                return parsed;
            }
            r.dontSave = member.get<bool>();
        }
    }
    return parsed;
}

} // namespace torrserver
