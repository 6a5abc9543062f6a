#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace torrserver {

// Go's url.QueryUnescape: "+" is a blank, %XX a byte; nullopt for a broken escape.
std::optional<std::string> goQueryUnescape(std::string_view text);

// A query parameter of a target as Go's URL.Query() reads it: pairs split at "&", a pair
// holding ";" or a broken escape left out, the first value of a name counts. nullopt when the
// name is absent; a present name counts as a flag whatever its value ("save=false" included).
std::optional<std::string> goQueryValue(std::string_view target, std::string_view name);

} // namespace torrserver
