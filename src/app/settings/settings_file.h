#pragma once

#include "app/settings/settings_text.h"

#include <QString>

namespace qb::app {

// `appDir` (with its trailing separator) + "app.json".
QString settingsFilePath(const QString& appDir);

// Writes the settings text "in the legacy code page" (UTF-8, no byte-order mark) through a
// temporary file that then replaces the old one, so a failed write never leaves a cut-off
// file. The file is readable and writable by its owner only (0600), or keeps the mode of the
// file it replaces where that allows less. False when the file could not be written.
bool writeSettingsFile(const QString& path, const QString& text);

// The start-up read: writes the default file when there is none, then reads it. A file that
// does not hold a settings object is kept as "app.json.bad" and replaced by the defaults,
// which are then used. When the folder cannot be written the defaults are used for this run
// and `writeFailed` says so; the start-up goes on.
LoadedSettings loadOrCreateSettings(const QString& appDir, const QString& caption);

} // namespace qb::app
