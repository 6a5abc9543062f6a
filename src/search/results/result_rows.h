#pragma once

#include <QString>
#include <QStringView>

#include <optional>

// What the results list shows of its rows beside the text: colour, hint, and the seeder count
// that the play command reads back from a row.
namespace qb::search {

enum class ResultColour { Plain, FullHd, UltraHd };

// 2160p rows are green, 1080p and 1080i rows blue; 2160p wins when both stand in a row.
ResultColour resultColour(QStringView line);

// Rows of 130 characters and more are hinted: the text from the blank after the first " - "
// on (the title is the part everybody sees already). Shorter rows have no hint.
QString resultHint(QStringView line);

// The seeder count as the row shows it: blanks removed, cut after the first "[" and, when
// there is one, after the next, and cut before the first "/".
// "Q 1080p - 1.5 ГБ [12/3]" gives "12".
QString seederText(QStringView line);

// A decimal integer, as a count is written; nothing for any other text.
std::optional<int> decimalInteger(QStringView text);

} // namespace qb::search
