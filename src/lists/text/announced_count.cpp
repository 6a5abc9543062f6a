#include "lists/text/announced_count.h"

#include <algorithm>

namespace qb::lists {
namespace {
constexpr qsizetype kMaxCountDigits = 9;
}

std::optional<int> announcedFileCount(const QString& page) {
    const qsizetype marker = page.indexOf(QStringLiteral("displayfiles"));
    const qsizetype open = page.indexOf(u'(', std::max<qsizetype>(marker, 0));
    if (open < 0) {
        return std::nullopt;
    }
    const qsizetype close = page.indexOf(u')', open + 1);
    if (close < 0) {
        return std::nullopt;
    }
    const QStringView digits = QStringView(page).mid(open + 1, close - open - 1).trimmed();
    if (digits.isEmpty() || digits.size() > kMaxCountDigits ||
        !std::all_of(digits.begin(), digits.end(),
                     [](QChar c) { return c >= u'0' && c <= u'9'; })) {
        return std::nullopt;
    }
    return digits.toInt();
}
} // namespace qb::lists
