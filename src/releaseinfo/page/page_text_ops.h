#pragma once

#include <QString>
#include <QStringView>

// Text operations of the release page builder. Every one of them is linear in its input, so a
// page of any size builds in bounded time.
namespace qb::releaseinfo {

// The trims of the builder take off blanks: the space and the control characters.
constexpr bool isBlank(QChar c) {
    return c.unicode() <= u' ';
}
QStringView trimBlanks(QStringView text);
QStringView trimBlanksAtEnd(QStringView text);

// A text to look for with letter case ignored: each of its characters also matches its upper-
// and lower-case forms.
class CaselessText {
public:
    explicit CaselessText(QStringView text);
    // The position of the first occurrence at or after `from`, -1 when there is none.
    qsizetype indexIn(QStringView text, qsizetype from = 0) const;
    qsizetype size() const { return lower_.size(); }

private:
    bool matchesAt(const char16_t* at) const;

    QString lower_, upper_;
};

// Every occurrence of `from`, ignoring letter case, replaced by `to`, in one pass from the left;
// an occurrence never overlaps the one before it.
QString replaceIgnoringCase(QStringView text, QStringView from, QStringView to);
// The first occurrence of `what`, ignoring letter case, removed.
QString removeFirstIgnoringCase(QStringView text, QStringView what);

// Calls `onLine` with each line of `text`, without its line break. A line ends at CR LF, at a lone
// CR or at a lone LF; a line break at the very end makes no empty last line.
template <typename OnLine> void forEachLine(QStringView text, OnLine&& onLine) {
    const qsizetype size = text.size();
    qsizetype start = 0;
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t c = text[i].unicode();
        if (c != u'\r' && c != u'\n') {
            continue;
        }
        onLine(text.sliced(start, i - start));
        if (c == u'\r' && i + 1 < size && text[i + 1] == u'\n') {
            ++i;
        }
        start = i + 1;
    }
    if (start < size) {
        onLine(text.sliced(start));
    }
}

} // namespace qb::releaseinfo
