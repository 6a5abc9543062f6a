#pragma once

#include <QByteArray>
#include <QString>

namespace qb::platform {

// Reads the bytes of a text file: a UTF-8 or UTF-16 (LE or BE) byte-order mark selects the
// encoding; without one, valid UTF-8 is read as UTF-8 and anything else as Windows-1251, the
// 8-bit code page the program's files were written in on Windows. Only the one mark is taken
// off: whatever text was written by encodeLegacy or encodeUtf8WithBom reads back the same.
QString decodeText(const QByteArray& bytes);

// UTF-8 bytes as text, every character kept: unlike QString::fromUtf8, a U+FEFF at the start
// is the text's own character, not a byte-order mark to drop. Text read from files, answers
// and hand-offs goes through this, so a value survives being written and read back.
QString fromUtf8Exactly(QByteArrayView bytes);

// Whether `bytes` is well-formed UTF-8 (no overlong forms, surrogates or values past U+10FFFF).
bool isValidUtf8(const QByteArray& bytes);

// Windows-1251 bytes as text. The one byte without a character there (0x98) becomes U+FFFD.
QString decodeWindows1251(const QByteArray& bytes);

// Text "in the legacy code page": UTF-8 without a byte-order mark, unless the text itself
// begins with U+FEFF: that text gets a mark in front, so that it reads back whole.
QByteArray encodeLegacy(const QString& text);

// UTF-8 with a byte-order mark.
QByteArray encodeUtf8WithBom(const QString& text);

} // namespace qb::platform
