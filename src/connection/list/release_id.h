#pragma once

#include <QString>

#include <optional>

namespace qb::connection {
// The tracker release id of a torrent this client added from the tracker, in decimal. Its magnet
// names it as "dn=id_" + the id in hexadecimal up to the next "&" ("dn=id_1A2B3&" gives
// "107187"). A magnet without "dn=id_", without the "&", or with an id that is empty, not
// hexadecimal or 10 characters or longer has no release id.
std::optional<QString> releaseIdFromMagnet(const QString& magnet);
} // namespace qb::connection
