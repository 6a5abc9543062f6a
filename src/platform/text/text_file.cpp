#include "platform/text/text_file.h"

#include "platform/text/text_codec.h"

#include <QFile>
#include <QSaveFile>

namespace qb::platform {

std::optional<QString> readTextFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        return std::nullopt;
    }
    return decodeText(bytes);
}

bool writeFileAtomically(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

bool writeLegacyTextFile(const QString& path, const QString& text) {
    return writeFileAtomically(path, encodeLegacy(text));
}

bool writeUtf8BomTextFile(const QString& path, const QString& text) {
    return writeFileAtomically(path, encodeUtf8WithBom(text));
}

} // namespace qb::platform
