#pragma once

#include "connection/api/api_requests.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// How the imports read the lines of a magnet-list file.
namespace qb::lists {
// A line that contains ":: " anywhere names a torrent and is skipped; every other line, an
// empty one included, is a link line.
bool isNameLine(const QString& line);

// The poster address of a link line: the text after its first "&as=" to the end of the line.
// Empty when the line has no "&as=".
QString posterOfLine(const QString& line);

// The add request body of a link line: the whole line is the link; the info part, with the
// line's poster address, is there exactly when the line contains "&as=".
QByteArray addBodyOfLine(const QString& line);

// The add of link line `index`: the whole line, the poster after its "&as=" (sent only when
// the line has one), and the torrent's name from the name line before it, where there is one
// (the text after its ":: ", trimmed).
connection::ListLineAdd listLineAdd(const QStringList& lines, qsizetype index);

// Whether a line looks like something a server can add: a magnet link or an http(s) address.
bool looksLikeLink(const QString& line);

// Whether any link line of the file looks like a link, so that a replace can go ahead.
bool holdsLinks(const QStringList& lines);

// The progress maximum of an import: the number of lines divided by 2 (the export writes two
// lines per torrent), but never fewer than the link lines, so the bar cannot run past its end.
int importProgressMaximum(const QStringList& lines);

// How an import names a line the server did not take in its error list.
enum class ErrorEntryForm {
    Long,  // the first 50 characters of the line before it, " ...", CR LF
    Short, // the whole line before it, CR LF
};

// The error list entry of line `index`. It names the line by the one before it (the torrent's
// name line in an exported file); the first line of a file has none and is named by itself.
QString errorEntry(const QStringList& lines, qsizetype index, ErrorEntryForm form);
} // namespace qb::lists
