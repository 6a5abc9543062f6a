#pragma once

#include <QByteArray>
#include <QString>

namespace qb::connection {

// The charset parameter of a Content-Type value ("text/html; charset=UTF-8" -> "UTF-8"), without
// quotes; empty when there is none.
QByteArray charsetOf(const QByteArray& contentType);

// Decodes bytes in the named charset: the UTF family, ISO-8859-1 and windows-1251; anything
// else, and no name, as UTF-8.
QString decodeCharset(const QByteArray& bytes, const QByteArray& charset);

} // namespace qb::connection
