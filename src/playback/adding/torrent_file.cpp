#include "playback/adding/torrent_file.h"

#include <QFile>

#include <stdexcept>

using namespace Qt::Literals::StringLiterals;

namespace qb::playback {

QByteArray torrentFileBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        throw std::runtime_error(
            QString(u"Не удается открыть файл \""_s + path + u"\""_s).toStdString());
    }
    return file.readAll();
}

} // namespace qb::playback
