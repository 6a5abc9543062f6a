#include "search/text/fast_find.h"

#include <bit>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace qb::search {

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
    const auto restMatches = [&](qsizetype at) {
        return std::memcmp(hay + at + 1, pin + 1, static_cast<size_t>(length - 2) * 2) == 0;
    };
    qsizetype i = from;
#if defined(__SSE2__)
    // Eight places at a time, each tested on the needle's first and last characters; only
    // places that pass both are compared whole.
    const __m128i first = _mm_set1_epi16(static_cast<short>(pin[0]));
    const __m128i lastChar = _mm_set1_epi16(static_cast<short>(pin[length - 1]));
    for (; i + 7 <= last; i += 8) {
        const __m128i starts = _mm_loadu_si128(reinterpret_cast<const __m128i*>(hay + i));
        const __m128i ends =
            _mm_loadu_si128(reinterpret_cast<const __m128i*>(hay + i + length - 1));
        auto mask = static_cast<unsigned>(_mm_movemask_epi8(
            _mm_and_si128(_mm_cmpeq_epi16(starts, first), _mm_cmpeq_epi16(ends, lastChar))));
        while (mask != 0) {
            const qsizetype at = i + std::countr_zero(mask) / 2;
            if (restMatches(at)) {
                return at;
            }
            mask &= mask - 1; // each character sets two bits
            mask &= mask - 1;
        }
    }
#endif
    for (; i <= last; ++i) {
        if (hay[i] == pin[0] && hay[i + length - 1] == pin[length - 1] && restMatches(i)) {
            return i;
        }
    }
    return -1;
}

} // namespace qb::search
