#pragma once

#include <nlohmann/json.hpp>
#include <string>

namespace torrserver {

using Json = nlohmann::ordered_json;

// Compact JSON text as Go's encoder writes it: members in insertion order, "&", "<", ">",
// U+2028 and U+2029 escaped as \uXXXX, broken UTF-8 replaced by U+FFFD.
std::string goDump(const Json& value);

// A number as Go writes a float64: whole values without a fraction ("0", not "0.0").
Json goNumber(double value);

// The error answer body {"message":"..."}.
std::string messageBody(const std::string& message);

} // namespace torrserver
