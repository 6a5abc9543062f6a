#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace torrserver {

// Go's url.QueryEscape: everything but letters, digits and "-_.~" becomes %XX, a blank "+".
std::string queryEscape(std::string_view text);

// Go's url.PathEscape: letters, digits, "-_.~" and "$&+:=@" stay, everything else is %XX.
std::string pathEscape(std::string_view text);

// Decodes a query component: "+" is a blank, %XX a byte; a broken escape stays as it is.
std::string queryUnescape(std::string_view text);

// The "&"-separated pairs of a target's query (after its first "?"), empty ones left out.
std::vector<std::string_view> queryPairs(std::string_view target);

// The first value of a query parameter in a target ("/p?a=1&b=x=y" gives "x=y" for "b"), or
// nullopt. Values may hold "=" and "?".
std::optional<std::string> queryParam(std::string_view target, std::string_view name);

// The server's file-name cleaning for paths: each of  !*'();:@&=+$,/?#[]~" and the blank
// becomes "_", then "__" becomes "_" in one pass. The result is not percent-encoded.
std::string cleanName(std::string_view text);

// Lower-case extension with the dot (".mkv"), empty when there is none.
std::string extensionOf(std::string_view path);

bool isMediaFile(std::string_view path);

// Content-Type for a file, chosen from its extension.
std::string mimeTypeOf(std::string_view path);

bool isHexHash(std::string_view text);

std::string toLower(std::string_view text);

bool equalsIgnoreCase(std::string_view a, std::string_view b);

std::string base64Encode(std::string_view bytes);

// "&", "<", ">" and '"' as HTML entities.
std::string htmlEscape(std::string_view text);

// Lower-case hex digits of every byte.
std::string hexText(std::string_view bytes);

// Makes a text valid UTF-8 by replacing broken sequences with U+FFFD.
std::string validUtf8(std::string_view bytes);

} // namespace torrserver
