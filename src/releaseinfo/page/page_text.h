#pragma once

#include <QString>
#include <QStringView>

namespace qb::releaseinfo {

// The answer without its tags, as lines each ending in "<br>" and CR LF. Bold tags are kept as
// "[b]" and "[/b]" text. Whether the walk is inside a tag, and text that is only blanks so far,
// carry on from one line to the next.
QString strippedLines(QStringView answer);

// The stripped text with the tracker's captions set apart on lines of their own: the numbered
// replacements, in their order, ignoring letter case, and then every "|" made a blank.
QString captionedLines(QStringView stripped);

// The same two steps written into a text the caller keeps: what it held is replaced, and the
// memory it already has is used again.
void writeStrippedLines(QStringView answer, QString& lines);
void writeCaptionedLines(QStringView stripped, QString& text);

} // namespace qb::releaseinfo
