// Any bytes from a second copy: the frame reading of the running copy, and what the window
// builds from the text it takes (the add request's body and the upload's file name).
#include "connection/http/multipart_body.h"
#include "connection/http/request_bodies.h"
#include "platform/text/hand_off_frame.h"

#include <QFileInfo>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

using qb::platform::HandOffFrameState;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const qb::platform::HandOffFrameRead read = qb::platform::readHandOffFrame(bytes);
    // The same bytes as a text in a frame of their own always read back whole.
    const QString text = QString::fromUtf8(bytes);
    const qb::platform::HandOffFrameRead framed =
        qb::platform::readHandOffFrame(qb::platform::handOffFrame(text));
    if (framed.state != HandOffFrameState::Complete || framed.text != text) {
        std::abort();
    }
    for (const QString& handed : {read.text, text}) {
        (void)qb::connection::linkBody(handed);
        const QByteArray boundary = QByteArrayLiteral("----QuillbrookBoundary");
        const QByteArray body = qb::connection::multipartBody(boundary, QStringLiteral("filename"),
                                                              QFileInfo(handed).fileName(), bytes);
        // No file name can end its header line early: the head is always three lines.
        const qsizetype headEnd = body.indexOf("\r\n\r\n");
        if (headEnd < 0 || body.left(headEnd).count("\r\n") != 2) {
            std::abort();
        }
    }
    return 0;
}
