#pragma once

#include <QByteArray>
#include <QString>

// The JSON bodies of the TorrServer requests, as UTF-8 bytes. The inserted values are
// JSON-escaped, so a quote, a backslash or a control character in them cannot break the body;
// ordinary values (links, hashes, decimal ids, web addresses) come out unchanged.
namespace qb::connection {

// {"link": "<magnet>"}
QByteArray linkBody(const QString& magnet);

// {"link":"<magnet>","Info":"{\"id\":\"<id>\", \"poster_path\":\"<poster>\"}"}
// "Info" is a string holding the text of an object, so its values are escaped twice.
QByteArray infoBody(const QString& magnet, const QString& releaseIdDecimal,
                    const QString& posterUrl);

// {"link":"<line>"} or, with the info part,
// {"link":"<line>","Info":"{\"poster_path\":\"<poster>\"}"}
QByteArray listBody(const QString& line, const QString& posterUrl, bool withInfo);

// {"hash": "<hash>"}
QByteArray removeBody(const QString& hash);

// {"Hash": "<hash>"}
QByteArray statBody(const QString& hash);

} // namespace qb::connection
