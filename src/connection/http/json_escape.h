#pragma once

#include <QString>

namespace qb::connection {

// The text of `value` as it must stand between the quotes of a JSON string: a quote, a
// backslash and every control character are escaped, everything else stays as it is.
QString jsonStringContent(const QString& value);

} // namespace qb::connection
