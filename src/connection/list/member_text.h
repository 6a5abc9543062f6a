#pragma once

#include <nlohmann/json.hpp>

#include <QString>

namespace qb::connection {
// A member of a list entry read with JsonValueText. The list is drawn from whatever the server
// sent, so a value that cannot be read as text (an object or an array) and any entry that is not
// an object read as the empty text here, instead of failing the whole refresh or the drawing of
// a row.
QString entryMemberText(const nlohmann::ordered_json& entry, const char* member);
} // namespace qb::connection
