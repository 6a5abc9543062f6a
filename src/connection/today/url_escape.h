#pragma once

#include <QString>

// The escapes today's server reads its addresses with. Letters, digits and "-_.~" always stay
// as they are; every other character is written as its UTF-8 bytes, each as "%" and two
// upper-case hexadecimal digits, except where said otherwise.
namespace qb::connection::today {

// One segment of a path: "$&+:=@" stay as well, a blank becomes "%20".
QString pathEscape(const QString& segment);

// A value in a query: a blank becomes "+".
QString queryEscape(const QString& value);

} // namespace qb::connection::today
