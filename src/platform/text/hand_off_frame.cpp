#include "platform/text/hand_off_frame.h"

#include "platform/text/text_codec.h"

#include <QtEndian>

namespace qb::platform {

namespace {
constexpr qsizetype kLengthBytes = 4;
} // namespace

QByteArray handOffFrame(const QString& text) {
    const QByteArray bytes = text.toUtf8();
    QByteArray frame(kLengthBytes, '\0');
    qToBigEndian(static_cast<quint32>(bytes.size()), frame.data());
    return frame + bytes;
}

HandOffFrameRead readHandOffFrame(const QByteArray& received) {
    if (received.size() < kLengthBytes) {
        return {};
    }
    const quint32 length = qFromBigEndian<quint32>(received.constData());
    if (length > kMaxHandOffBytes) {
        return {HandOffFrameState::TooLong, {}};
    }
    if (received.size() - kLengthBytes < static_cast<qsizetype>(length)) {
        return {};
    }
    return {HandOffFrameState::Complete,
            fromUtf8Exactly(QByteArrayView(received).sliced(kLengthBytes, length))};
}

} // namespace qb::platform
