#pragma once

#include <QByteArray>
#include <QString>

// The JSON bodies of today's "/torrents" and "/viewed" requests, as UTF-8. Values are
// JSON-escaped; members left empty are left out, as the server's own clients send them.
namespace qb::connection::today {

QByteArray listBody();

// An add that the server saves in its database once the torrent's metadata has arrived.
struct AddRequest {
    QString link;
    QString title;
    QString poster;
    QString data;
};
QByteArray addBody(const AddRequest& request);

QByteArray getBody(const QString& hash);
QByteArray removeBody(const QString& hash);

// Sets what the server keeps with a torrent. The server takes the title, poster and category
// as given (an empty one clears it), so a caller passes the ones the torrent has.
struct SetRequest {
    QString hash;
    QString title;
    QString poster;
    QString category;
    QString data;
};
QByteArray setBody(const SetRequest& request);

// The viewed marks of every torrent.
QByteArray viewedListBody();

} // namespace qb::connection::today
