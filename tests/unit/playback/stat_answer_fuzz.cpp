// Any bytes as a "/torrent/stat" answer: reading it and writing the progress line must neither
// crash nor hang, and the numbers read back from the line are the answer's, in megabytes and
// percent to the nearest whole number and the speed to two decimals.
#include "playback/preload/progress_text.h"
#include "playback/preload/stat_answer.h"

#include <QStringList>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>

namespace {

constexpr double kMegabyte = 1048576.0;

void check(bool holds) {
    if (!holds) {
        std::abort();
    }
}

// A whole number of the line, or nothing when the text is not one.
std::optional<double> number(QStringView text) {
    bool ok = false;
    const double value = text.toDouble(&ok);
    return ok ? std::optional(value) : std::nullopt;
}

void checkProgressLine(const qb::playback::PreloadStat& stat) {
    const QString line = qb::playback::progressText(stat);
    const QString start =
        QStringLiteral("Сиды: ") + (stat.seeders.isEmpty() ? QStringLiteral("0") : stat.seeders) +
        QStringLiteral(" [") + (stat.peers.isEmpty() ? QStringLiteral("0") : stat.peers) +
        QStringLiteral("] Скорость: ");
    check(line.startsWith(start));
    const QString end = QStringLiteral("% [ESC - отменить]");
    check(line.endsWith(end));
    // The speed holds no letters: the first "МБ/с" after the start ends it.
    const QStringView rest = QStringView(line).sliced(start.size()).chopped(end.size());
    const qsizetype speedEnd = rest.indexOf(QStringLiteral("МБ/с  Предзагрузка ["));
    check(speedEnd >= 0);
    const std::optional<double> speed = number(rest.first(speedEnd));
    check(speed.has_value());
    const QString sent = stat.speed.left(stat.speed.indexOf(u'.'));
    if (const std::optional<double> bytes = number(sent); bytes && std::isfinite(*bytes)) {
        check(std::abs(*speed - *bytes / kMegabyte) <= 0.005 + 1e-9 * std::abs(*bytes));
    } else {
        check(*speed == 0.0);
    }

    const QStringList numbers =
        rest.sliced(speedEnd + QStringLiteral("МБ/с  Предзагрузка [").size())
            .toString()
            .split(QStringLiteral("МБ]: "));
    check(numbers.size() == 2);
    const QStringList sizes = numbers[0].split(u'/');
    check(sizes.size() == 2);
    const std::optional<double> preloaded = number(sizes[0]);
    const std::optional<double> size = number(sizes[1]);
    const std::optional<double> percent = number(numbers[1]);
    check(preloaded && size && percent);
    check(std::abs(*preloaded - stat.preloadedBytes / kMegabyte) <= 0.5);
    check(std::abs(*size - stat.preloadSize / kMegabyte) <= 0.5);
    const double exact =
        stat.preloadSize == 0 ? 0.0 : 100.0 * stat.preloadedBytes / stat.preloadSize;
    check(std::abs(*percent - exact) <= 0.5);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    if (const auto stat = qb::playback::readStatAnswer(bytes)) {
        checkProgressLine(*stat);
        (void)qb::playback::preloadFinished(*stat);
    }
    (void)qb::playback::speedInMegabytes(QString::fromUtf8(bytes));
    return 0;
}
