// Any answer to the version request: the text as the client decodes it (any charset a server
// names), the version rules, the update address and the question built from it.
#include "app/version/version_check.h"
#include "connection/http/charset_decode.h"

#include <QUrl>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    // The first line stands for the answer's Content-Type, the rest for its body.
    const qsizetype lineEnd = bytes.indexOf('\n');
    const QByteArray contentType = lineEnd < 0 ? QByteArray() : bytes.left(lineEnd);
    const QByteArray body = lineEnd < 0 ? bytes : bytes.mid(lineEnd + 1);
    const QString answer =
        qb::connection::decodeCharset(body, qb::connection::charsetOf(contentType));

    const QString own = QStringLiteral("1.8.4");
    const QString remote = qb::app::usableRemoteVersion(answer, own);
    if (remote.size() > 5 && remote != own) {
        std::abort();
    }
    const bool higher = qb::app::isRemoteVersionHigher(remote, own);
    // A version is never higher than itself.
    if (qb::app::isRemoteVersionHigher(remote, remote)) {
        std::abort();
    }
    (void)higher;
    // Whatever the service sent, the update is fetched from the build's own service, and the
    // version stays inside the file name.
    const QUrl address(qb::app::updateDownloadAddress(remote));
    if (!address.isValid() || !address.path().startsWith(u"/ts/Quillbrook_x86_v")) {
        std::abort();
    }
    (void)qb::app::updateQuestionText(remote);
    return 0;
}
