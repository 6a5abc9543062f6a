#pragma once

#include <nlohmann/json.hpp>

#include <QString>
#include <QStringList>

#include <vector>

namespace qb::connection {
// Row texts carry these markers; the drawing, the selection and the update command test for them.
inline constexpr char16_t kSeekingPeersMarker[] = u"пытаемся найти";
inline constexpr char16_t kUpdateMarker[] = u"[update]";

// The members a row shows, each read as JsonValueText reads it (entryMemberText).
struct TorrentRowFields {
    QString name;   // "Name"
    QString hash;   // "Hash"
    QString length; // "Length"
    QString status; // "Status"
};

TorrentRowFields torrentRowFields(const nlohmann::ordered_json& entry);

// The "Length" text in gigabytes, as sizeInGigabytes.
QString sizeFromLengthText(const QString& length);

// "Length" in gigabytes (2^30 bytes) with the "0.00" format: two decimals, ".", no grouping,
// halves rounded away from zero. A "Length" that is missing or not a finite number shows as
// "0.00".
QString sizeInGigabytes(const nlohmann::ordered_json& entry);

// The name a row shows: "Name", "..." when that is empty, or "[update] " and the title of an
// UpdateList1 row (title + "^" + hash) that contains both the name and the hash.
QString displayName(const nlohmann::ordered_json& entry, const QStringList& updateRows);

// The TorrentList row of a torrent entry: display name + " - Размер: " + size + " ГБ", followed
// by " - пытаемся найти раздающих" while the server looks for peers ("Status" 1).
QString torrentRowText(const nlohmann::ordered_json& entry, const QStringList& updateRows);
QString torrentRowText(const TorrentRowFields& fields, const QStringList& updateRows);
// The rows of a whole list, in its order.
QStringList torrentRowTexts(const std::vector<TorrentRowFields>& rows,
                            const QStringList& updateRows);
} // namespace qb::connection
