#pragma once

#include <nlohmann/json.hpp>

#include <QString>

#include <optional>

// Today's server keeps a text of the client's own ("data") with each torrent. The client keeps
// there what the older server kept in "Info": the tracker release id and the poster address,
// as the same JSON text, and for a release of the tracker the magnet it was added with (the
// server keeps no magnet, and one built from the hash alone would lose the trackers). The file
// list may join them later, in the server's own form ({"TorrServer":{"Files":[...]}}), so that
// the files are known while the torrent is only in the server's database.
namespace qb::connection::today {

struct ReleaseData {
    QString releaseId; // decimal, or empty
    QString poster;    // the poster address, or empty
    QString magnet;    // the magnet a release was added with, or empty
};

// {"id":"<id>", "poster_path":"<poster>"} (with ", \"magnet\":\"<magnet>\"" before the "}"
// when there is a magnet), {"poster_path":"<poster>"} without an id, or the empty text when
// there is neither an id nor a poster. Values are JSON-escaped.
QString releaseDataText(const ReleaseData& data);

// What a data text holds of the client's: "id" (only when it is a decimal number of at most
// nine digits), "poster_path" (only when it is a string) and "magnet" (only a string that
// begins "magnet:?" and holds the release id's marker). Anything else reads as nothing.
ReleaseData readReleaseData(const QString& data);

// The client's data text with the torrent's file list beside it, in the server's own form
// ({..., "TorrServer":{"Files":[{id, path, length}, ...]}}). Nothing when the data is not a JSON
// object of the client's (an id or a poster) or already holds a file list.
std::optional<QString> dataWithFiles(const QString& data, const nlohmann::ordered_json& files);

// A link whose display name is the client's release marker ("dn=id_" + hexadecimal id, as
// the client names the releases it adds from the tracker): the marker means nothing to the
// server, which would show it as the torrent's title, so it is taken out of the link and its
// id given back in decimal. Other links come back unchanged with an empty id.
struct MarkedLink {
    QString link;
    QString releaseId;
};
MarkedLink takeReleaseMarker(const QString& link);

} // namespace qb::connection::today
