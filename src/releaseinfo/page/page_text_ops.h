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
    // Whether the text holds it at `at`.
    bool isAt(QStringView text, qsizetype at) const {
        return at >= 0 && text.size() - at >= size() && size() > 0 && matchesAt(text.utf16() + at);
    }
    qsizetype size() const { return lower_.size(); }
    // Its first character in lower and in upper case.
    char16_t firstLower() const { return lower_.front().unicode(); }
    char16_t firstUpper() const { return upper_.front().unicode(); }

private:
    bool matchesAt(const char16_t* at) const {
        const QChar* lower = lower_.constData();
        const QChar* upper = upper_.constData();
        for (qsizetype k = 0; k < lower_.size(); ++k) {
            if (at[k] != lower[k].unicode() && at[k] != upper[k].unicode()) {
                return false;
            }
        }
        return true;
    }

    QString lower_, upper_;
};

// The first position at or after `from` that holds one of the line breaks or "<" or ">";
// text.size() when there is none.
qsizetype findTagOrBreak(QStringView text, qsizetype from);

// Every occurrence of `from`, ignoring letter case, replaced by `to`, in one pass from the left;
// an occurrence never overlaps the one before it.
QString replaceIgnoringCase(QStringView text, QStringView from, QStringView to);
// The first occurrence of `what`, ignoring letter case, removed.
QString removeFirstIgnoringCase(QStringView text, QStringView what);

// Calls `onLine` with each line of `text`, without its line break. A line ends at CR LF, at a lone
// CR or at a lone LF; a line break at the very end makes no empty last line.
// The first CR or LF at or after `from`; text.size() when there is none.
qsizetype findLineBreak(QStringView text, qsizetype from);

template <typename OnLine> void forEachLine(QStringView text, OnLine&& onLine) {
    const qsizetype size = text.size();
    qsizetype start = 0;
    while (start < size) {
        const qsizetype end = findLineBreak(text, start);
        if (end == size) {
            onLine(text.sliced(start));
            return;
        }
        onLine(text.sliced(start, end - start));
        start = end + (text[end] == u'\r' && end + 1 < size && text[end + 1] == u'\n' ? 2 : 1);
    }
}

} // namespace qb::releaseinfo
