#include "search/results/row_marks.h"

#include <bit>
#include <initializer_list>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace qb::search {

namespace {

// Whether a mark starts at `at`: the second character is looked at first, since the first
// characters of the marks are common in magnet links.
void markAt(QStringView row, qsizetype at, RowMarks& marks) {
    const auto startsAny = [rest = row.sliced(at)](std::initializer_list<QStringView> needles) {
        for (QStringView needle : needles) {
            if (rest.startsWith(needle)) {
                return true;
            }
        }
        return false;
    };
    const char16_t next = at + 1 < row.size() ? row.utf16()[at + 1] : u'\0';
    switch (row.utf16()[at]) {
    case u')':
        marks.excluded = next == u' ' && startsAny({u") РС", u") PC"});
        break;
    case u'J':
        marks.excluded = next == u'P' && startsAny({u"JPG", u"JPEG"});
        break;
    case u'F':
        marks.excluded = next == u'B' && startsAny({u"FB2"});
        break;
    case u'P':
        marks.excluded = (next == u'D' || next == u'C') && startsAny({u"PDF", u"PCRec"});
        break;
    case u'1':
        marks.resolution = marks.resolution || (next == u'0' && startsAny({u"1080p", u"1080i"}));
        break;
    case u'2':
        marks.resolution = marks.resolution || (next == u'1' && startsAny({u"2160p"}));
        break;
    default:
        break;
    }
}

bool mayStartMark(char16_t c) {
    return c == u')' || c == u'1' || c == u'2' || c == u'F' || c == u'J' || c == u'P';
}

#if defined(__SSE2__)
// The first two characters of a mark folded into one: the first shifted over the second. Two
// Latin characters fold without loss; other pairs may fold alike, which markAt sorts out.
constexpr short folded(char16_t first, char16_t second) {
    return static_cast<short>(static_cast<char16_t>(first << 8) ^ second);
}
#endif

} // namespace

RowMarks rowMarks(QStringView row) {
    RowMarks marks;
    const char16_t* const data = row.utf16();
    const qsizetype size = row.size();
    qsizetype i = 0;
#if defined(__SSE2__)
    // Eight places at a time, each tested on its first two characters folded into one against
    // the folded starts of every mark: most blocks hold no place where a mark can start.
    const __m128i space = _mm_set1_epi16(folded(u')', u' '));
    const __m128i jp = _mm_set1_epi16(folded(u'J', u'P'));
    const __m128i fb = _mm_set1_epi16(folded(u'F', u'B'));
    const __m128i pd = _mm_set1_epi16(folded(u'P', u'D'));
    const __m128i pc = _mm_set1_epi16(folded(u'P', u'C'));
    const __m128i ten = _mm_set1_epi16(folded(u'1', u'0'));
    const __m128i twentyOne = _mm_set1_epi16(folded(u'2', u'1'));
    for (; i + 8 < size; i += 8) {
        const __m128i firsts = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i));
        const __m128i seconds = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i + 1));
        const __m128i pairs = _mm_xor_si128(_mm_slli_epi16(firsts, 8), seconds);
        const __m128i hits = _mm_or_si128(
            _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi16(pairs, space), _mm_cmpeq_epi16(pairs, jp)),
                         _mm_or_si128(_mm_cmpeq_epi16(pairs, fb), _mm_cmpeq_epi16(pairs, pd))),
            _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi16(pairs, pc), _mm_cmpeq_epi16(pairs, ten)),
                         _mm_cmpeq_epi16(pairs, twentyOne)));
        auto mask = static_cast<unsigned>(_mm_movemask_epi8(hits));
        while (mask != 0) {
            markAt(row, i + std::countr_zero(mask) / 2, marks);
            if (marks.excluded) {
                return marks;
            }
            mask &= mask - 1; // each character sets two bits
            mask &= mask - 1;
        }
    }
#endif
    for (; i < size; ++i) {
        if (mayStartMark(data[i])) {
            markAt(row, i, marks);
            if (marks.excluded) {
                return marks;
            }
        }
    }
    return marks;
}

} // namespace qb::search
