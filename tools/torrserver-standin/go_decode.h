#pragma once

#include "go_json.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace torrserver {

// Decodes a request body into named fields as Go's json.Decoder does into a struct: the
// first JSON value only (whatever follows it), an empty body an error (EOF), names matched
// without regard to letter case, unknown members ignored, null leaving a field unset, a
// member of the wrong type an error.
struct GoField {
    enum class Kind { String, Bool, Int, Float, Object };
    const char* name;
    Kind kind;
};

struct GoDecoded {
    bool ok = false;
    Json values = Json::object(); // by the fields' names; absent when not given
};

GoDecoded decodeGoObject(std::string_view body, const std::vector<GoField>& fields);

} // namespace torrserver
