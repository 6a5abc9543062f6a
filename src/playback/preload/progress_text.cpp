#include "playback/preload/progress_text.h"

#include <cmath>

using namespace Qt::Literals::StringLiterals;

namespace qb::playback {
namespace {
constexpr double kMegabyte = 1048576.0;

QString wholeNumber(double value) {
    return QString::number(static_cast<qlonglong>(std::llround(value)));
}

QString orZero(const QString& text) {
    return text.isEmpty() ? u"0"_s : text;
}
} // namespace

QString speedInMegabytes(const QString& bytesPerSecond) {
    const qsizetype dot = bytesPerSecond.indexOf(u'.');
    bool ok = false;
    const double bytes = bytesPerSecond.left(dot).toDouble(&ok);
    if (!ok || !std::isfinite(bytes)) {
        return u"0"_s;
    }
    QString text = QString::number(bytes / kMegabyte, 'f', 2);
    while (text.endsWith(u'0')) {
        text.chop(1);
    }
    if (text.endsWith(u'.')) {
        text.chop(1);
    }
    return text == u"-0"_s ? u"0"_s : text;
}

QString progressText(const PreloadStat& stat) {
    const double percent =
        stat.preloadSize == 0 ? 0.0 : 100.0 * stat.preloadedBytes / stat.preloadSize;
    return u"Сиды: "_s + orZero(stat.seeders) + u" ["_s + orZero(stat.peers) + u"] Скорость: "_s +
           speedInMegabytes(stat.speed) + u"МБ/с  Предзагрузка ["_s +
           wholeNumber(stat.preloadedBytes / kMegabyte) + u"/"_s +
           wholeNumber(stat.preloadSize / kMegabyte) + u"МБ]: "_s + wholeNumber(percent) +
           u"% [ESC - отменить]"_s;
}
} // namespace qb::playback
