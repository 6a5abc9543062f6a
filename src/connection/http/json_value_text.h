#pragma once

#include <QByteArray>
#include <QString>

#include <nlohmann/json.hpp>

#include <optional>
#include <string_view>

namespace qb::connection {

// Reads the member `name` of a JSON object as text:
//   missing or null   -> ""
//   string            -> its content
//   integer           -> its digits, exactly as written in the answer
//   number with a fraction or exponent -> the shortest text that reads back as the same value
//                        ("2097152.5" stays "2097152.5"; "1E2" becomes "100.0")
//   boolean           -> "true" / "false"
// An object or array member cannot be read as text, and neither can a member of a value that
// is not an object: both throw std::runtime_error.
QString JsonValueText(const nlohmann::ordered_json& object, std::string_view name);

// The value written as compact JSON (no blanks), object members in the order received.
// Non-ASCII characters stay as they are.
QString compactJsonText(const nlohmann::ordered_json& value);

// Deepest nesting of arrays and objects accepted in an answer.
inline constexpr int kMaxJsonAnswerDepth = 512;

// Parses an answer body (UTF-8) as JSON. Nothing when it is not JSON, or nests deeper than
// kMaxJsonAnswerDepth (writing such a value out again would recurse without bound).
std::optional<nlohmann::ordered_json> parseJsonAnswer(const QByteArray& text);

} // namespace qb::connection
