#pragma once

#include <QString>

namespace qb::playback {
// What LogP shows while a handed-over or dropped torrent is added, and once it has been.
inline const QString kAdding = QStringLiteral("... Добавляем торрент на сервер ...");
inline const QString kAdded = QStringLiteral("Торрент успешно добавлен");
} // namespace qb::playback
