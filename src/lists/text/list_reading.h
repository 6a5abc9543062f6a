#pragma once

#include <QString>
#include <QStringList>

namespace qb::lists {
// The longest line a magnet-list file is read with; the rest of a longer line is dropped.
inline constexpr qsizetype kMaxListLineLength = 4096;

// The lines of a magnet-list text: a line ends at CR LF, at a lone LF or at a lone CR, and a
// final line break makes no empty last line. Each line keeps at most kMaxListLineLength
// characters.
QStringList listLines(const QString& text);
} // namespace qb::lists
