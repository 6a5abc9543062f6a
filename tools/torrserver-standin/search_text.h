#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace torrserver {

// The text handling of today's server's release search.

// The words of a text as its index takes them: split at everything that is neither a letter
// nor a digit, in lower case, "ё" as "е", stop words ("and", "и", ...) left out.
std::vector<std::string> searchTokens(std::string_view text);

// The text in lower case with only 0-9, a-z, а-я and ё kept, as code points.
std::u32string clearedText(std::string_view text);

// The edit distance of two texts of code points.
std::size_t levenshtein(const std::u32string& a, const std::u32string& b);

// Code points of UTF-8 text; a broken sequence gives U+FFFD for its first byte.
std::u32string codePoints(std::string_view text);
std::string utf8Of(const std::u32string& text);

} // namespace torrserver
