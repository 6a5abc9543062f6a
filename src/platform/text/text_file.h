#pragma once

#include <QString>

#include <optional>

namespace qb::platform {

// The whole file as text (decodeText); nothing when the file cannot be opened or read.
std::optional<QString> readTextFile(const QString& path);

// Writes through a temporary file in the same folder that then replaces `path`, so a failed
// write leaves the old file whole. False when the file could not be written.
bool writeFileAtomically(const QString& path, const QByteArray& bytes);

// Text "in the legacy code page" (UTF-8 without a byte-order mark).
bool writeLegacyTextFile(const QString& path, const QString& text);

// UTF-8 with a byte-order mark.
bool writeUtf8BomTextFile(const QString& path, const QString& text);

} // namespace qb::platform
