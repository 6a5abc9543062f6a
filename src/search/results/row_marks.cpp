#include "search/results/row_marks.h"

#include <algorithm>
#include <bit>
#include <iterator>

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define QB_MARKS_X86 1
#endif

namespace qb::search {

namespace {

// Whether `needle` stands in `row` at `at`; marks are short and most places fail early.
bool standsAt(QStringView row, qsizetype at, QStringView needle) {
    return needle.size() <= row.size() - at &&
           std::equal(needle.begin(), needle.end(), row.begin() + at);
}

// Whether a mark starts at `at`: the second character is looked at first, since the first
// characters of the marks are common in magnet links.
inline __attribute__((always_inline)) void markAt(QStringView row, qsizetype at, RowMarks& marks) {
    const char16_t next = at + 1 < row.size() ? row.utf16()[at + 1] : u'\0';
    switch (row.utf16()[at]) {
    case u')':
        marks.excluded = next == u' ' && (standsAt(row, at, u") РС") || standsAt(row, at, u") PC"));
        break;
    case u'J':
        marks.excluded = next == u'P' && (standsAt(row, at, u"JPG") || standsAt(row, at, u"JPEG"));
        break;
    case u'F':
        marks.excluded = next == u'B' && standsAt(row, at, u"FB2");
        break;
    case u'P':
        marks.excluded = (next == u'D' && standsAt(row, at, u"PDF")) ||
                         (next == u'C' && standsAt(row, at, u"PCRec"));
        break;
    case u'1':
        marks.resolution =
            marks.resolution ||
            (next == u'0' && (standsAt(row, at, u"1080p") || standsAt(row, at, u"1080i")));
        break;
    case u'2':
        marks.resolution = marks.resolution || (next == u'1' && standsAt(row, at, u"2160p"));
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

// What a character becomes when characters are packed into bytes with unsigned saturation:
// those above 0xFF become 0xFF, or 0x00 from 0x8000 on.
constexpr unsigned char packed(char16_t c) {
    return c < 0x100 ? static_cast<unsigned char>(c) : c < 0x8000 ? 0xFF : 0x00;
}

// The first three characters of the marks, each start given one bit; a start may allow two
// third characters.
struct MarkStart {
    char16_t first;
    char16_t second;
    char16_t thirds[2];
};

constexpr MarkStart kStarts[] = {{u')', u' ', {u'Р', u'P'}}, {u'J', u'P', {u'G', u'E'}},
                                 {u'F', u'B', {u'2', u'2'}}, {u'P', u'D', {u'F', u'F'}},
                                 {u'P', u'C', {u'R', u'R'}}, {u'1', u'0', {u'8', u'8'}},
                                 {u'2', u'1', {u'6', u'6'}}};

// For character `which` (0 to 2) of the starts: the bits of the starts whose character has the
// low (or high) half given by the index. A byte passes start k when both its halves carry bit
// k: exactly its character, or with two third characters also their crossed halves, which
// markAt sorts out.
struct HalfTable {
    char bits[16] = {};
};

constexpr HalfTable halfTable(int which, bool high) {
    HalfTable table;
    for (size_t k = 0; k < std::size(kStarts); ++k) {
        const MarkStart& start = kStarts[k];
        const char16_t chars[] = {which == 0   ? start.first
                                  : which == 1 ? start.second
                                               : start.thirds[0],
                                  which == 0   ? start.first
                                  : which == 1 ? start.second
                                               : start.thirds[1]};
        for (const char16_t c : chars) {
            const unsigned char byte = packed(c);
            const int half = high ? byte >> 4 : byte & 15;
            table.bits[half] = static_cast<char>(table.bits[half] | (1 << k));
        }
    }
    return table;
}

__attribute__((target("avx2"))) __m256i tableOf(const HalfTable& table) {
    return _mm256_broadcastsi128_si256(
        _mm_loadu_si128(reinterpret_cast<const __m128i*>(table.bits)));
}

// 32 characters from `at` as bytes, in order: characters above 0xFF become 0xFF or 0x00,
// neither of which starts a mark.
__attribute__((target("avx2"))) __m256i bytesAt(const char16_t* at) {
    const __m256i low = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at));
    const __m256i high = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at + 16));
    return _mm256_permute4x64_epi64(_mm256_packus_epi16(low, high), 0xD8);
}

// The start bits of 32 bytes for one character of the starts.
__attribute__((target("avx2"))) __m256i pairBits(__m256i bytes, __m256i lowTable,
                                                 __m256i highTable) {
    const __m256i nibble = _mm256_set1_epi8(15);
    return _mm256_and_si256(
        _mm256_shuffle_epi8(lowTable, _mm256_and_si256(bytes, nibble)),
        _mm256_shuffle_epi8(highTable, _mm256_and_si256(_mm256_srli_epi16(bytes, 4), nibble)));
}

// Thirty-two places at a time, each tested on its first three characters against the starts
// of every mark through nibble tables: most blocks hold no start at all, and digits such as
// "10" and "21" pass only before the "8" or "6" of a resolution.
__attribute__((target("avx2"))) bool marksAvx2(QStringView row, qsizetype& i, RowMarks& marks) {
    static constexpr HalfTable kTables[] = {halfTable(0, false), halfTable(0, true),
                                            halfTable(1, false), halfTable(1, true),
                                            halfTable(2, false), halfTable(2, true)};
    const __m256i firstLow = tableOf(kTables[0]);
    const __m256i firstHigh = tableOf(kTables[1]);
    const __m256i secondLow = tableOf(kTables[2]);
    const __m256i secondHigh = tableOf(kTables[3]);
    const __m256i thirdLow = tableOf(kTables[4]);
    const __m256i thirdHigh = tableOf(kTables[5]);
    const char16_t* const data = row.utf16();
    for (; i + 33 < row.size(); i += 32) {
        const __m256i both = _mm256_and_si256(
            _mm256_and_si256(pairBits(bytesAt(data + i), firstLow, firstHigh),
                             pairBits(bytesAt(data + i + 1), secondLow, secondHigh)),
            pairBits(bytesAt(data + i + 2), thirdLow, thirdHigh));
        auto mask = ~static_cast<unsigned>(
            _mm256_movemask_epi8(_mm256_cmpeq_epi8(both, _mm256_setzero_si256())));
        for (; mask != 0; mask &= mask - 1) {
            markAt(row, i + std::countr_zero(mask), marks);
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
