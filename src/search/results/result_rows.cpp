#include "search/results/result_rows.h"

#include "search/text/markers.h"

#include <algorithm>

namespace qb::search {

namespace {
constexpr qsizetype kHintedLength = 130;
} // namespace

ResultColour resultColour(QStringView line) {
    if (line.contains(u"2160p")) {
        return ResultColour::UltraHd;
    }
    if (line.contains(u"1080p") || line.contains(u"1080i")) {
        return ResultColour::FullHd;
    }
    return ResultColour::Plain;
}

QString resultHint(QStringView line) {
    if (line.size() < kHintedLength) {
        return {};
    }
    // Without a " - " the hint starts at the second character.
    const qsizetype dash = line.indexOf(u" - ");
    return line.sliced(dash + 2).toString();
}

QString seederText(QStringView line) {
    QString text = line.toString();
    text.remove(u' ');
    QStringView rest = cutThrough(text, u"[");
    if (rest.contains(u'[')) {
        rest = cutThrough(rest, u"[");
    }
    const qsizetype slash = rest.indexOf(u'/');
    return (slash >= 0 ? rest.first(slash) : rest).toString();
}

std::optional<int> decimalInteger(QStringView text) {
    const QStringView digits =
        text.startsWith(u'-') || text.startsWith(u'+') ? text.sliced(1) : text;
    if (digits.isEmpty() || !std::all_of(digits.begin(), digits.end(),
                                         [](QChar c) { return c >= u'0' && c <= u'9'; })) {
        return std::nullopt;
    }
    bool ok = false;
    const int value = text.toInt(&ok, 10);
    return ok ? std::optional<int>(value) : std::nullopt;
}

} // namespace qb::search
