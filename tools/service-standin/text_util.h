#pragma once

#include <string>
#include <string_view>

namespace qb::standin {

// Lower-cases ASCII and Cyrillic letters of a UTF-8 text; other bytes pass unchanged.
std::string lowerUtf8(std::string_view text);
// Lower-cased, blanks at both ends dropped and inner runs of blanks made one: how the tracker
// compares search texts.
std::string searchKey(std::string_view text);
void replaceAll(std::string& text, std::string_view from, std::string_view to);
bool isDecimal(std::string_view text);

} // namespace qb::standin
