#include "connection/list/torrent_row.h"

#include "connection/list/member_text.h"

#include <cmath>
#include <cstdint>
#include <optional>

namespace qb::connection {
namespace {
constexpr double kBytesPerGigabyte = 1073741824.0;

// The text of `row` before its first "^"; empty when there is none.
QString titleOfUpdateRow(const QString& row) {
    const qsizetype caret = row.indexOf(u'^');
    return caret < 0 ? QString() : row.left(caret);
}

// Substring test of the walk; an empty needle is never found, so an entry without a hash
// cannot pick up the mark of an unrelated row.
bool holds(const QString& row, const QString& needle) {
    return !needle.isEmpty() && row.contains(needle);
}
} // namespace

TorrentRowFields torrentRowFields(const nlohmann::ordered_json& entry) {
    return {entryMemberText(entry, "Name"), entryMemberText(entry, "Hash"),
            entryMemberText(entry, "Length"), entryMemberText(entry, "Status")};
}

namespace {
// The common "Length", a whole number of bytes, read without the general number reading (which
// is a good part of a large list's refresh). The nearest double, as that reading gives it.
std::optional<double> wholeBytes(const QString& length) {
    if (length.isEmpty() || length.size() > 19) {
        return std::nullopt;
    }
    std::uint64_t value = 0;
    for (const QChar c : length) {
        if (c < u'0' || c > u'9') {
            return std::nullopt;
        }
        value = value * 10 + static_cast<std::uint64_t>(c.unicode() - u'0');
    }
    return static_cast<double>(value);
}
} // namespace

QString sizeFromLengthText(const QString& length) {
    bool ok = false;
    const std::optional<double> whole = wholeBytes(length);
    const double bytes = whole ? (ok = true, *whole) : length.toDouble(&ok);
    if (!ok || !std::isfinite(bytes)) {
        return QStringLiteral("0.00");
    }
    // Rounding the hundredths first keeps halves away from zero; adding 0.0 turns -0 into 0.
    const double hundredths = std::round(bytes / kBytesPerGigabyte * 100.0);
    return QString::number(hundredths / 100.0 + 0.0, 'f', 2);
}

QString sizeInGigabytes(const nlohmann::ordered_json& entry) {
    return sizeFromLengthText(entryMemberText(entry, "Length"));
}

namespace {
QString displayNameOf(QString name, const QString& hash, const QStringList& updateRows) {
    if (name.isEmpty()) {
        name = QStringLiteral("...");
    }
    // Every row is tested against the name as it stands, so once a row has marked it the
    // following rows would have to contain "[update] " as well.
    for (const QString& row : updateRows) {
        if (holds(row, name) && holds(row, hash)) {
            name = QStringLiteral("[update] ") + titleOfUpdateRow(row);
        }
    }
    return name;
}
} // namespace

QString displayName(const nlohmann::ordered_json& entry, const QStringList& updateRows) {
    return displayNameOf(entryMemberText(entry, "Name"), entryMemberText(entry, "Hash"),
                         updateRows);
}

QString torrentRowText(const TorrentRowFields& fields, const QStringList& updateRows) {
    QString text = displayNameOf(fields.name, fields.hash, updateRows) + u" - Размер: " +
                   sizeFromLengthText(fields.length) + u" ГБ";
    if (fields.status == u"1") {
        text += u" - пытаемся найти раздающих";
    }
    return text;
}

QStringList torrentRowTexts(const std::vector<TorrentRowFields>& rows,
                            const QStringList& updateRows) {
    QStringList texts;
    texts.reserve(static_cast<qsizetype>(rows.size()));
    for (const TorrentRowFields& fields : rows) {
        texts << torrentRowText(fields, updateRows);
    }
    return texts;
}

QString torrentRowText(const nlohmann::ordered_json& entry, const QStringList& updateRows) {
    return torrentRowText(torrentRowFields(entry), updateRows);
}
} // namespace qb::connection
