#pragma once

#include <QString>

namespace qb::playback {
// URL decoding of the server's playlist and preload addresses: "%" and two hexadecimal digits
// become that byte, "%%" becomes "%", "+" a blank; the bytes are then read as UTF-8. A "%" not
// followed by two hexadecimal digits (or a second "%") stays as it is.
QString urlDecode(const QString& text);
} // namespace qb::playback
