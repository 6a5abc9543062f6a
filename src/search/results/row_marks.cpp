#include "search/results/row_marks.h"

#include <algorithm>
#include <bit>
#include <initializer_list>

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define QB_MARKS_X86 1
#endif

namespace qb::search {

namespace {

// Whether a mark starts at `at`: the second character is looked at first, since the first
// characters of the marks are common in magnet links.
void markAt(QStringView row, qsizetype at, RowMarks& marks) {
    // Compared here character by character: marks are short and most places fail early.
    const auto startsAny = [rest = row.sliced(at)](std::initializer_list<QStringView> needles) {
        for (QStringView needle : needles) {
            if (needle.size() <= rest.size() &&
                std::equal(needle.begin(), needle.end(), rest.begin())) {
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

#if defined(QB_MARKS_X86)
// The first two characters of a mark folded into one: the first shifted over the second. Two
// Latin characters fold without loss; other pairs may fold alike, which markAt sorts out.
constexpr short folded(char16_t first, char16_t second) {
    return static_cast<short>(static_cast<char16_t>(first << 8) ^ second);
}
#endif

#if defined(QB_MARKS_X86)
// Places that may start a mark, tested on their first two characters folded into one against
// the folded starts of every mark: most blocks hold none. Each returns whether it stopped at
// an exclusion, and leaves in `i` the first place it did not look at.
bool marksSse2(QStringView row, qsizetype& i, RowMarks& marks) {
    const char16_t* const data = row.utf16();
    const __m128i starts[] = {
        _mm_set1_epi16(folded(u')', u' ')), _mm_set1_epi16(folded(u'J', u'P')),
        _mm_set1_epi16(folded(u'F', u'B')), _mm_set1_epi16(folded(u'P', u'D')),
        _mm_set1_epi16(folded(u'P', u'C')), _mm_set1_epi16(folded(u'1', u'0')),
        _mm_set1_epi16(folded(u'2', u'1'))};
    for (; i + 8 < row.size(); i += 8) {
        const __m128i firsts = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i));
        const __m128i seconds = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i + 1));
        const __m128i pairs = _mm_xor_si128(_mm_slli_epi16(firsts, 8), seconds);
        __m128i hits = _mm_cmpeq_epi16(pairs, starts[0]);
        for (int k = 1; k < 7; ++k) {
            hits = _mm_or_si128(hits, _mm_cmpeq_epi16(pairs, starts[k]));
        }
        auto mask = static_cast<unsigned>(_mm_movemask_epi8(hits));
        for (; mask != 0; mask &= mask - 1, mask &= mask - 1) { // each character sets two bits
            markAt(row, i + std::countr_zero(mask) / 2, marks);
            if (marks.excluded) {
                return true;
            }
        }
    }
    return false;
}

__attribute__((target("avx2"))) bool marksAvx2(QStringView row, qsizetype& i, RowMarks& marks) {
    const char16_t* const data = row.utf16();
    const __m256i starts[] = {
        _mm256_set1_epi16(folded(u')', u' ')), _mm256_set1_epi16(folded(u'J', u'P')),
        _mm256_set1_epi16(folded(u'F', u'B')), _mm256_set1_epi16(folded(u'P', u'D')),
        _mm256_set1_epi16(folded(u'P', u'C')), _mm256_set1_epi16(folded(u'1', u'0')),
        _mm256_set1_epi16(folded(u'2', u'1'))};
    for (; i + 16 < row.size(); i += 16) {
        const __m256i firsts = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(data + i));
        const __m256i seconds = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(data + i + 1));
        const __m256i pairs = _mm256_xor_si256(_mm256_slli_epi16(firsts, 8), seconds);
        __m256i hits = _mm256_cmpeq_epi16(pairs, starts[0]);
        for (int k = 1; k < 7; ++k) {
            hits = _mm256_or_si256(hits, _mm256_cmpeq_epi16(pairs, starts[k]));
        }
        auto mask = static_cast<unsigned>(_mm256_movemask_epi8(hits));
        for (; mask != 0; mask &= mask - 1, mask &= mask - 1) {
            markAt(row, i + std::countr_zero(mask) / 2, marks);
            if (marks.excluded) {
                return true;
            }
        }
    }
    return false;
}

const bool kHasAvx2 = __builtin_cpu_supports("avx2");
#endif

} // namespace

RowMarks rowMarks(QStringView row) {
    RowMarks marks;
    qsizetype i = 0;
#if defined(QB_MARKS_X86)
    if (kHasAvx2 ? marksAvx2(row, i, marks) : marksSse2(row, i, marks)) {
        return marks;
    }
#endif
    for (; i < row.size(); ++i) {
        if (mayStartMark(row.utf16()[i])) {
            markAt(row, i, marks);
            if (marks.excluded) {
                return marks;
            }
        }
    }
    return marks;
}

} // namespace qb::search
