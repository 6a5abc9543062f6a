#include "releaseinfo/page/page_text_ops.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

namespace {

// The first position at or after `from` that holds one of a, b, c and d; text.size() when none.
qsizetype findAnyOf(QStringView text, qsizetype from, char16_t a, char16_t b, char16_t c,
                    char16_t d) {
    const char16_t* data = text.utf16();
    const qsizetype size = text.size();
    qsizetype i = from;
#if defined(__SSE2__)
    // Eight characters at a time: most of a page is text between its tags and line breaks.
    const __m128i va = _mm_set1_epi16(static_cast<short>(a));
    const __m128i vb = _mm_set1_epi16(static_cast<short>(b));
    const __m128i vc = _mm_set1_epi16(static_cast<short>(c));
    const __m128i vd = _mm_set1_epi16(static_cast<short>(d));
    for (; i + 8 <= size; i += 8) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i));
        const __m128i hits =
            _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi16(v, va), _mm_cmpeq_epi16(v, vb)),
                         _mm_or_si128(_mm_cmpeq_epi16(v, vc), _mm_cmpeq_epi16(v, vd)));
        if (const int mask = _mm_movemask_epi8(hits); mask != 0) {
            return i + __builtin_ctz(static_cast<unsigned>(mask)) / 2;
        }
    }
#endif
    for (; i < size; ++i) {
        const char16_t x = data[i];
        if (x == a || x == b || x == c || x == d) {
            return i;
        }
    }
    return size;
}

} // namespace

qsizetype findTagOrBreak(QStringView text, qsizetype from) {
    return findAnyOf(text, from, u'<', u'>', u'\r', u'\n');
}

qsizetype findLineBreak(QStringView text, qsizetype from) {
    return findAnyOf(text, from, u'\r', u'\n', u'\r', u'\n');
}

CaselessText::CaselessText(QStringView text)
    : lower_(text.toString())
    , upper_(text.toString()) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        lower_[i] = text[i].toLower();
        upper_[i] = text[i].toUpper();
    }
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
