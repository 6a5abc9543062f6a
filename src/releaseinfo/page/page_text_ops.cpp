#include "releaseinfo/page/page_text_ops.h"

namespace qb::releaseinfo {

QStringView trimBlanks(QStringView text) {
    qsizetype start = 0;
    while (start < text.size() && isBlank(text[start])) {
        ++start;
    }
    return trimBlanksAtEnd(text.sliced(start));
}

QStringView trimBlanksAtEnd(QStringView text) {
    qsizetype end = text.size();
    while (end > 0 && isBlank(text[end - 1])) {
        --end;
    }
    return text.first(end);
}

CaselessText::CaselessText(QStringView text)
    : lower_(text.toString())
    , upper_(text.toString()) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        lower_[i] = text[i].toLower();
        upper_[i] = text[i].toUpper();
    }
}

bool CaselessText::matchesAt(const char16_t* at) const {
    const char16_t* lower = QStringView(lower_).utf16();
    const char16_t* upper = QStringView(upper_).utf16();
    for (qsizetype k = 1; k < lower_.size(); ++k) {
        if (at[k] != lower[k] && at[k] != upper[k]) {
            return false;
        }
    }
    return true;
}

qsizetype CaselessText::indexIn(QStringView text, qsizetype from) const {
    const qsizetype length = lower_.size();
    if (length == 0 || from < 0 || text.size() - from < length) {
        return -1;
    }
    const char16_t* data = text.utf16();
    const char16_t first = lower_.front().unicode();
    const char16_t firstUpper = upper_.front().unicode();
    const qsizetype last = text.size() - length;
    for (qsizetype i = from; i <= last; ++i) {
        const char16_t c = data[i];
        if ((c == first || c == firstUpper) && matchesAt(data + i)) {
            return i;
        }
    }
    return -1;
}

QString replaceIgnoringCase(QStringView text, QStringView from, QStringView to) {
    const CaselessText pattern(from);
    qsizetype at = pattern.indexIn(text);
    if (at < 0) {
        return text.toString();
    }
    QString result;
    result.reserve(text.size() + text.size() / 8);
    qsizetype done = 0;
    while (at >= 0) {
        result.append(text.sliced(done, at - done));
        result.append(to);
        done = at + pattern.size();
        at = pattern.indexIn(text, done);
    }
    result.append(text.sliced(done));
    return result;
}

QString removeFirstIgnoringCase(QStringView text, QStringView what) {
    const qsizetype at = CaselessText(what).indexIn(text);
    if (at < 0) {
        return text.toString();
    }
    QString result = text.toString();
    result.remove(at, what.size());
    return result;
}

} // namespace qb::releaseinfo
