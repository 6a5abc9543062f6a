#pragma once

// Plain text rules of the release page, written for the reference only: character by character,
// with nothing of the builder's own code.
#include <QString>
#include <QStringList>
#include <QStringView>

namespace qb::releaseinfo::reference {

// A blank is the space or a control character.
inline bool blank(QChar c) {
    return c.unicode() <= 0x20;
}

inline QString withoutBlanksAround(QStringView text) {
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && blank(text[first])) {
        ++first;
    }
    while (last > first && blank(text[last - 1])) {
        --last;
    }
    return text.mid(first, last - first).toString();
}

inline QString withoutBlanksAtEnd(QStringView text) {
    qsizetype last = text.size();
    while (last > 0 && blank(text[last - 1])) {
        --last;
    }
    return text.first(last).toString();
}

// Whether `text` holds `what` at `at`, each character also matching its upper- and lower-case
// forms.
inline bool caselessAt(QStringView text, qsizetype at, QStringView what) {
    if (what.isEmpty() || at < 0 || at + what.size() > text.size()) {
        return false;
    }
    for (qsizetype k = 0; k < what.size(); ++k) {
        const QChar c = text[at + k];
        const QChar w = what[k];
        if (c != w && c != w.toLower() && c != w.toUpper()) {
            return false;
        }
    }
    return true;
}

// Every occurrence of `what`, ignoring case, replaced by `by`, from the left, none overlapping
// the one before.
inline QString replacedCaseless(QStringView text, QStringView what, QStringView by) {
    QString result;
    qsizetype i = 0;
    while (i < text.size()) {
        if (caselessAt(text, i, what)) {
            result += by;
            i += what.size();
        } else {
            result += text[i];
            ++i;
        }
    }
    return result;
}

inline QString withoutFirstCaseless(QStringView text, QStringView what) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (caselessAt(text, i, what)) {
            return text.first(i).toString() + text.sliced(i + what.size());
        }
    }
    return text.toString();
}

// The lines of `text`: each ends at CR LF, a lone CR or a lone LF; a break at the very end makes
// no empty last line.
inline QStringList linesOf(QStringView text) {
    QStringList lines;
    QString line;
    bool open = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\r' || c == u'\n') {
            lines << line;
            line.clear();
            open = false;
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') {
                ++i;
            }
        } else {
            line += c;
            open = true;
        }
    }
    if (open) {
        lines << line;
    }
    return lines;
}

} // namespace qb::releaseinfo::reference
