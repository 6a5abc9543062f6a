#include "connection/list/release_id.h"

#include <algorithm>

namespace qb::connection {
namespace {
constexpr qsizetype kMaxIdDigits = 9;

bool isHexDigit(QChar c) {
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}
} // namespace

std::optional<QString> releaseIdFromMagnet(const QString& magnet) {
    static const QString kMarker = QStringLiteral("dn=id_");
    const qsizetype marker = magnet.indexOf(kMarker);
    if (marker < 0) {
        return std::nullopt;
    }
    const qsizetype start = marker + kMarker.size();
    const qsizetype end = magnet.indexOf(u'&', start);
    if (end < 0) {
        return std::nullopt;
    }
    const QStringView hex = QStringView(magnet).mid(start, end - start);
    if (hex.isEmpty() || hex.size() > kMaxIdDigits ||
        !std::all_of(hex.begin(), hex.end(), isHexDigit)) {
        return std::nullopt;
    }
    bool ok = false;
    const qulonglong id = hex.toULongLong(&ok, 16);
    if (!ok) {
        return std::nullopt;
    }
    return QString::number(id);
}
} // namespace qb::connection
