#include "lists/text/list_reading.h"

#include <algorithm>

namespace qb::lists {
QStringList listLines(const QString& text) {
    QStringList lines;
    qsizetype start = 0;
    const qsizetype size = text.size();
    while (start < size) {
        qsizetype end = start;
        while (end < size && text[end] != u'\r' && text[end] != u'\n') {
            ++end;
        }
        lines << text.mid(start, std::min(end - start, kMaxListLineLength));
        if (end < size && text[end] == u'\r' && end + 1 < size && text[end + 1] == u'\n') {
            ++end;
        }
        start = end + 1;
    }
    return lines;
}
} // namespace qb::lists
