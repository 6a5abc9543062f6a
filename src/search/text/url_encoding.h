#pragma once

#include <QString>

namespace qb::search {
// The service's URL encoding, used for the search text and for a magnet in a play address:
// A-Z, a-z, 0-9 and ! $ ' ( ) * - . @ _ pass unchanged, a space becomes "+", every other
// character is written as its UTF-8 bytes, each as "%" and two upper-case hex digits.
// "Матрица 1999" gives "%D0%9C%D0%B0%D1%82%D1%80%D0%B8%D1%86%D0%B0+1999".
QString urlEncode(const QString& text);
} // namespace qb::search
