#pragma once

#include <nlohmann/json.hpp>

#include <QString>

#include <optional>

// What the series check needs of a torrent of the server list, and how it marks one.
namespace qb::lists {
struct SeriesTorrent {
    QString hash;
    QString releaseId; // decimal
    int files = 0;
    QString title; // the name the mark shows: "Name", or "..." when that is empty
};

// A torrent the check looks at: one with at least two entries in "Files" (a JSON array, or a
// text holding one) whose magnet names a tracker release ("dn=id_" + a hexadecimal id of at
// most nine digits, up to the next "&"). Single-file torrents, torrents added by other clients
// and torrents without their files yet (or without a hash) give nothing.
std::optional<SeriesTorrent> seriesTorrent(const nlohmann::ordered_json& entry);

// The row text with the "[update] " mark in front; a row that carries it already stays as it is.
QString markedRowText(const QString& rowText);

// The announcement of the marked torrents: in LogP and in the tray balloon.
QString updatesFoundText(int count);

// The UpdateList1 row of a marked torrent: title + "^" + hash.
QString updateListRow(const SeriesTorrent& torrent);
} // namespace qb::lists
