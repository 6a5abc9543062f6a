#include "search/text/markers.h"

#include "search/text/fast_find.h"

#include <algorithm>

namespace qb::search {

QStringView textBefore(QStringView text, QStringView marker) {
    const qsizetype at = findText(text, marker);
    return at > 0 ? text.first(at) : QStringView();
}

QStringView cutThrough(QStringView text, QStringView marker) {
    const qsizetype at = findText(text, marker);
    const qsizetype drop = at >= 0 ? at + marker.size() : marker.size() - 1;
    return text.sliced(std::clamp<qsizetype>(drop, 0, text.size()));
}

} // namespace qb::search
