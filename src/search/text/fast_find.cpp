#include "search/text/fast_find.h"

#include <bit>
#include <cstring>

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define QB_FIND_X86 1
#endif

namespace qb::search {

namespace {

// Whether the needle's inner characters (all but its first and last) stand at `at`.
bool innerMatches(const char16_t* at, const char16_t* needle, qsizetype length) {
    for (qsizetype i = 1; i + 1 < length; ++i) {
        if (at[i] != needle[i]) {
            return false;
        }
    }
    return true;
}

#if defined(QB_FIND_X86)
// The candidates of a block are tested on the needle's first and last characters; only places
// that pass both are compared whole. Each returns the match or -1, and leaves in `i` the first
// place it did not look at.
qsizetype findSse2(const char16_t* hay, qsizetype last, const char16_t* pin, qsizetype length,
                   qsizetype& i) {
    const __m128i first = _mm_set1_epi16(static_cast<short>(pin[0]));
    const __m128i lastChar = _mm_set1_epi16(static_cast<short>(pin[length - 1]));
    for (; i + 7 <= last; i += 8) {
        const __m128i starts = _mm_loadu_si128(reinterpret_cast<const __m128i*>(hay + i));
        const __m128i ends =
            _mm_loadu_si128(reinterpret_cast<const __m128i*>(hay + i + length - 1));
        auto mask = static_cast<unsigned>(_mm_movemask_epi8(
            _mm_and_si128(_mm_cmpeq_epi16(starts, first), _mm_cmpeq_epi16(ends, lastChar))));
        for (; mask != 0; mask &= mask - 1, mask &= mask - 1) { // each character sets two bits
            const qsizetype at = i + std::countr_zero(mask) / 2;
            if (innerMatches(hay + at, pin, length)) {
                return at;
            }
        }
    }
    return -1;
}

__attribute__((target("avx2"))) qsizetype
findAvx2(const char16_t* hay, qsizetype last, const char16_t* pin, qsizetype length, qsizetype& i) {
    const __m256i first = _mm256_set1_epi16(static_cast<short>(pin[0]));
    const __m256i lastChar = _mm256_set1_epi16(static_cast<short>(pin[length - 1]));
    for (; i + 15 <= last; i += 16) {
        const __m256i starts = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(hay + i));
        const __m256i ends =
            _mm256_loadu_si256(reinterpret_cast<const __m256i*>(hay + i + length - 1));
        auto mask = static_cast<unsigned>(_mm256_movemask_epi8(_mm256_and_si256(
            _mm256_cmpeq_epi16(starts, first), _mm256_cmpeq_epi16(ends, lastChar))));
        for (; mask != 0; mask &= mask - 1, mask &= mask - 1) {
            const qsizetype at = i + std::countr_zero(mask) / 2;
            if (innerMatches(hay + at, pin, length)) {
                return at;
            }
        }
    }
    return -1;
}

const bool kHasAvx2 = __builtin_cpu_supports("avx2");
#endif

} // namespace

qsizetype findText(QStringView text, QStringView needle, qsizetype from) {
    if (from < 0 || from > text.size()) {
        return -1;
    }
    const qsizetype length = needle.size();
    if (length == 0) {
        return from;
    }
    if (length == 1) {
        return text.indexOf(needle.front(), from);
    }
    const char16_t* const hay = text.utf16();
    const char16_t* const pin = needle.utf16();
    const qsizetype last = text.size() - length; // the last place a match can start
    qsizetype i = from;
#if defined(QB_FIND_X86)
    // Sixteen or eight places at a time, as the processor allows; the rest one by one.
    if (const qsizetype at =
            kHasAvx2 ? findAvx2(hay, last, pin, length, i) : findSse2(hay, last, pin, length, i);
        at >= 0) {
        return at;
    }
#endif
    for (; i <= last; ++i) {
        if (hay[i] == pin[0] && hay[i + length - 1] == pin[length - 1] &&
            innerMatches(hay + i, pin, length)) {
            return i;
        }
    }
    return -1;
}

} // namespace qb::search
