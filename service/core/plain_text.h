#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Texts from sources made safe to show: one line of valid UTF-8, and escaped for a page.
namespace qb::service {

// The text as one line of at most `maxChars` characters: bytes that are not UTF-8 become
// U+FFFD, control characters, line and paragraph separators and no-break spaces become blanks,
// runs of blanks become one, and blanks at either end go.
std::string oneLine(std::string_view text, std::size_t maxChars);

// The text with its markup removed: tags dropped, the common entities read, then one line.
std::string withoutMarkup(std::string_view text, std::size_t maxChars);

// The text for a page, where it stays text whatever it holds: "&", "<" and ">" are written as
// entities. The client's list of results decodes "&amp;" alone, so nothing more is escaped
// where the text only has to stay text.
std::string escapeHtml(std::string_view text);

// The same with '"' also written as an entity, for text that must hold no quote (before the
// magnet link of a release page, whose first quote opens the link).
std::string escapeHtmlQuoted(std::string_view text);

// Lower-case letters (Latin and Cyrillic, "ё" as "е"), for comparing names and queries.
std::string foldedCase(std::string_view text);

// Whether the text starts with `start` (given in lower case), Latin letters in any case.
bool startsWithNoCase(std::string_view text, std::string_view start);

// Whether the text holds a Cyrillic letter, a Latin letter.
bool hasCyrillic(std::string_view text);
bool hasLatin(std::string_view text);

} // namespace qb::service
