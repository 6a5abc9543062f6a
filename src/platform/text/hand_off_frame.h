#pragma once

#include <QByteArray>
#include <QString>

namespace qb::platform {

// A second copy's hand-off on the wire: the text's UTF-8 length as four bytes, most significant
// first, then the text.
QByteArray handOffFrame(const QString& text);

// A magnet link or a file path; a frame announcing more is no hand-off.
inline constexpr quint32 kMaxHandOffBytes = 1024 * 1024;

enum class HandOffFrameState {
    Incomplete, // more bytes must come
    TooLong,    // the announced length is past kMaxHandOffBytes
    Complete,   // `text` holds the hand-off
};

struct HandOffFrameRead {
    HandOffFrameState state = HandOffFrameState::Incomplete;
    QString text;
};

// Reads the bytes received so far from a second copy. Bytes after a complete frame are ignored;
// text that is not UTF-8 reads with replacement characters.
HandOffFrameRead readHandOffFrame(const QByteArray& received);

} // namespace qb::platform
