#include "search/results/result_parser.h"

#include "search/results/row_marks.h"
#include "search/text/fast_find.h"
#include "search/text/markers.h"

#include <algorithm>
#include <bit>
#include <cstring>

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define QB_PARSER_X86 1
#endif

namespace qb::search {

namespace {

constexpr QStringView kRowStart = u"<a href=\"magnet";
constexpr QStringView kRowEnd = u"</span></td></tr>";
// From the '<' of the row start to the 'm' of "magnet".
constexpr qsizetype kMagnetOffset = 9;
constexpr char16_t kNoBreakSpace = u'\u00A0';

// Character buffers kept over the lines of one parse, so that a row is cut without allocating.
class Scratch {
public:
    char16_t* row(qsizetype size) { return ofSize(row_, size); }
    char16_t* tail(qsizetype size) { return ofSize(tail_, size); }
    char16_t* title(qsizetype size) { return ofSize(title_, size); }

private:
    static char16_t* ofSize(std::vector<char16_t>& buffer, qsizetype size) {
        if (buffer.size() < static_cast<size_t>(size)) {
            buffer.resize(static_cast<size_t>(size));
        }
        return buffer.data();
    }

    std::vector<char16_t> row_;
    std::vector<char16_t> tail_;
    std::vector<char16_t> title_;
};

bool isNoBreakSpace(char16_t c) {
    return c == kNoBreakSpace;
}

// Copies `count` characters without their no-break spaces; returns how many it wrote.
qsizetype copyWithoutNoBreakSpaces(const char16_t* in, qsizetype count, char16_t* out) {
    qsizetype written = 0;
    for (qsizetype i = 0; i < count; ++i) {
        out[written] = in[i];
        written += isNoBreakSpace(in[i]) ? 0 : 1;
    }
    return written;
}

#if defined(QB_PARSER_X86)
// Blocks of eight without a no-break space are copied whole; `i` is left at the first
// character not copied, `written` at the end of what was.
void copyBlocksSse2(const char16_t* in, qsizetype size, char16_t* out, qsizetype& i,
                    qsizetype& written) {
    const __m128i space = _mm_set1_epi16(static_cast<short>(kNoBreakSpace));
    for (; i + 8 <= size; i += 8) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + written), block);
        if (_mm_movemask_epi8(_mm_cmpeq_epi16(block, space)) == 0) {
            written += 8;
        } else {
            written += copyWithoutNoBreakSpaces(in + i, 8, out + written);
        }
    }
}

// Copies blocks of sixteen from `i` on until the row's end marker, which is looked for in the
// same pass: returns where the marker starts, or -1 when the blocks ran out first, leaving in
// `i` the first character not looked at and in `written` the end of what was copied.
__attribute__((target("avx2"))) qsizetype copyToRowEndAvx2(const char16_t* in, qsizetype size,
                                                           char16_t* out, qsizetype& i,
                                                           qsizetype& written) {
    const __m256i space = _mm256_set1_epi16(static_cast<short>(kNoBreakSpace));
    const __m256i open = _mm256_set1_epi16(u'<');
    const __m256i close = _mm256_set1_epi16(u'>');
    constexpr qsizetype kEndLast = kRowEnd.size() - 1; // from the marker's '<' to its last '>'
    for (; i + 16 + kEndLast <= size; i += 16) {
        const __m256i block = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in + i));
        const __m256i lasts =
            _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in + i + kEndLast));
        auto ends = static_cast<unsigned>(_mm256_movemask_epi8(
            _mm256_and_si256(_mm256_cmpeq_epi16(block, open), _mm256_cmpeq_epi16(lasts, close))));
        for (; ends != 0; ends &= ends - 1, ends &= ends - 1) { // each character sets two bits
            const qsizetype at = i + std::countr_zero(ends) / 2;
            if (std::equal(kRowEnd.begin(), kRowEnd.end(), in + at)) {
                written += copyWithoutNoBreakSpaces(in + i, at - i, out + written);
                return at;
            }
        }
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + written), block);
        if (_mm256_movemask_epi8(_mm256_cmpeq_epi16(block, space)) == 0) {
            written += 16;
        } else {
            written += copyWithoutNoBreakSpaces(in + i, 16, out + written);
        }
    }
    return -1;
}

const bool kHasAvx2 = __builtin_cpu_supports("avx2");
#endif

// The row text from the "m" of "magnet" to the end marker, without its no-break spaces, copied
// into the scratch row. The end marker cannot start inside the row start, so it is looked for
// from the "m" on, in the pass that copies.
QStringView rowText(QStringView line, Scratch& scratch) {
    const qsizetype start = findText(line, kRowStart);
    if (start < 0) {
        return {};
    }
    const char16_t* const in = line.utf16();
    char16_t* const out = scratch.row(line.size());
    qsizetype i = start + kMagnetOffset;
    qsizetype written = 0;
    qsizetype end = -1;
#if defined(QB_PARSER_X86)
    if (kHasAvx2) {
        end = copyToRowEndAvx2(in, line.size(), out, i, written);
    }
#endif
    if (end < 0) {
        end = findText(line, kRowEnd, i);
        if (end < 0) {
            return {};
        }
        qsizetype copied = i;
#if defined(QB_PARSER_X86)
        copyBlocksSse2(in, end, out, copied, written);
#endif
        written += copyWithoutNoBreakSpaces(in + copied, end - copied, out + written);
    }
    return {out, written};
}

bool isLetter(char16_t c, char16_t lower) {
    return (c | 0x20) == lower; // only the two cases of a Latin letter pass
}

// Every "GB", in any case, becomes " ГБ": the text itself when it has none, else a copy.
bool isGigabytes(const char16_t* at) {
    return isLetter(at[0], u'g') && isLetter(at[1], u'b');
}

#if defined(QB_PARSER_X86)
// Sixteen or eight places at a time; each returns the first "GB" or -1, and leaves in `i` the
// first place it did not look at.
__attribute__((target("avx2"))) qsizetype findGigabytesAvx2(const char16_t* in, qsizetype size,
                                                            qsizetype& i) {
    const __m256i lowerCase = _mm256_set1_epi16(0x20);
    const __m256i g = _mm256_set1_epi16(u'g');
    const __m256i b = _mm256_set1_epi16(u'b');
    for (; i + 16 < size; i += 16) {
        const __m256i firsts = _mm256_or_si256(
            _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in + i)), lowerCase);
        const __m256i seconds = _mm256_or_si256(
            _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in + i + 1)), lowerCase);
        const auto mask = static_cast<unsigned>(_mm256_movemask_epi8(
            _mm256_and_si256(_mm256_cmpeq_epi16(firsts, g), _mm256_cmpeq_epi16(seconds, b))));
        if (mask != 0) {
            return i + std::countr_zero(mask) / 2;
        }
    }
    return -1;
}

qsizetype findGigabytesSse2(const char16_t* in, qsizetype size, qsizetype& i) {
    const __m128i lowerCase = _mm_set1_epi16(0x20);
    const __m128i g = _mm_set1_epi16(u'g');
    const __m128i b = _mm_set1_epi16(u'b');
    for (; i + 8 < size; i += 8) {
        const __m128i firsts =
            _mm_or_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i)), lowerCase);
        const __m128i seconds =
            _mm_or_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i + 1)), lowerCase);
        const auto mask = static_cast<unsigned>(_mm_movemask_epi8(
            _mm_and_si128(_mm_cmpeq_epi16(firsts, g), _mm_cmpeq_epi16(seconds, b))));
        if (mask != 0) {
            return i + std::countr_zero(mask) / 2;
        }
    }
    return -1;
}
#endif

// The first "GB", in any case, at or after `from`; -1 when there is none.
qsizetype findGigabytes(const char16_t* in, qsizetype size, qsizetype from) {
    qsizetype i = from;
#if defined(QB_PARSER_X86)
    if (const qsizetype at =
            kHasAvx2 ? findGigabytesAvx2(in, size, i) : findGigabytesSse2(in, size, i);
        at >= 0) {
        return at;
    }
#endif
    for (; i + 1 < size; ++i) {
        if (isGigabytes(in + i)) {
            return i;
        }
    }
    return -1;
}

// Every "GB", in any case, becomes " ГБ": the text itself when it has none, else a copy.
QStringView withGigabytes(QStringView text, Scratch& scratch) {
    const char16_t* const in = text.utf16();
    const qsizetype size = text.size();
    qsizetype at = findGigabytes(in, size, 0);
    if (at < 0) {
        return text;
    }
    char16_t* const out = scratch.tail(size + size / 2 + 1); // each two letters become three
    qsizetype written = 0;
    qsizetype copied = 0;
    for (; at >= 0; at = findGigabytes(in, size, copied)) {
        std::memcpy(out + written, in + copied, static_cast<size_t>(at - copied) * 2);
        written += at - copied;
        out[written++] = u' ';
        out[written++] = u'Г';
        out[written++] = u'Б';
        copied = at + 2;
    }
    std::memcpy(out + written, in + copied, static_cast<size_t>(size - copied) * 2);
    return {out, written + size - copied};
}

// Writes the title with every "&amp;", in any case, turned into "&"; returns how many
// characters it wrote.
qsizetype writeDecodedTitle(QStringView title, char16_t* out) {
    if (title.isEmpty()) { // an empty view may have no characters to point at
        return 0;
    }
    const char16_t* const in = title.utf16();
    const qsizetype size = title.size();
    qsizetype written = 0;
    qsizetype copied = 0;
    // Runs up to each "&" are copied whole; most titles have none.
    for (qsizetype at = title.indexOf(u'&'); at >= 0; at = title.indexOf(u'&', at + 1)) {
        if (at + 4 < size && isLetter(in[at + 1], u'a') && isLetter(in[at + 2], u'm') &&
            isLetter(in[at + 3], u'p') && in[at + 4] == u';') {
            std::memcpy(out + written, in + copied, static_cast<size_t>(at + 1 - copied) * 2);
            written += at + 1 - copied;
            copied = at + 5;
            at += 4;
        }
    }
    std::memcpy(out + written, in + copied, static_cast<size_t>(size - copied) * 2);
    return written + size - copied;
}

// The fields of one row as cut from its text, before they are copied out.
struct RowCuts {
    QStringView magnet;
    QStringView pagePath;
    QStringView title;
    QStringView size;
    QStringView seeders;
    QStringView leechers;
};

RowCuts cuts(QStringView row, Scratch& scratch) {
    RowCuts cut;
    // Both first marks hold a '"', so neither starts before the first '"' less their length:
    // the magnet link is read once.
    const qsizetype quote = row.indexOf(u'"');
    const qsizetype magnetEnd = quote < 0 ? -1 : findText(row, u"\">", quote);
    cut.magnet = magnetEnd > 0 ? row.first(magnetEnd) : QStringView();
    constexpr QStringView kPathStart = u"f=\"";
    const qsizetype pathStart =
        quote < 0 ? -1 : findText(row, kPathStart, std::max<qsizetype>(quote - 2, 0));
    row = row.sliced(std::min(
        pathStart >= 0 ? pathStart + kPathStart.size() : kPathStart.size() - 1, row.size()));
    // The page path ends where the next cut goes through: one search serves both.
    constexpr QStringView kLinkEnd = u"\">";
    const qsizetype linkEnd = findText(row, kLinkEnd);
    cut.pagePath = linkEnd > 0 ? row.first(linkEnd) : QStringView();
    row = row.sliced(
        std::min(linkEnd >= 0 ? linkEnd + kLinkEnd.size() : kLinkEnd.size() - 1, row.size()));
    // The title link ends in a blank before "</a": the copy stops one character short.
    cut.title = textBefore(row, u"</a");
    if (!cut.title.isEmpty()) {
        cut.title.chop(1);
    }
    // A comments cell before the size carries a second "ht\">".
    constexpr QStringView kCellEnd = u"ht\">";
    row = cutThrough(row, kCellEnd);
    if (const qsizetype second = findText(row, kCellEnd); second >= 0) {
        row = row.sliced(second + kCellEnd.size());
    }
    QStringView tail = withGigabytes(row, scratch);
    cut.size = textBefore(tail, u"</t");
    tail = cutThrough(tail, u"S\">");
    cut.seeders = textBefore(tail, u"</sp");
    cut.leechers = cutThrough(tail, u"red\">");
    return cut;
}

QString textOf(QStringView cut) {
    return cut.isEmpty() ? QString() : cut.toString();
}

// The record of the cut fields.
SearchRecord fields(const RowCuts& cut, bool decodeTitle, Scratch& scratch) {
    SearchRecord record;
    record.Magnet = textOf(cut.magnet);
    record.PagePath = textOf(cut.pagePath);
    if (decodeTitle) {
        // Decoding only ever shortens the title.
        char16_t* const decoded = scratch.title(cut.title.size());
        record.Title = textOf(QStringView(decoded, writeDecodedTitle(cut.title, decoded)));
    } else {
        record.Title = textOf(cut.title);
    }
    record.Size = textOf(cut.size);
    record.Seeders = textOf(cut.seeders);
    record.Leechers = textOf(cut.leechers);
    return record;
}

std::optional<SearchRecord> record(QStringView line, DisplayMode mode, Scratch& scratch,
                                   bool decodeTitle) {
    const QStringView row = rowText(line, scratch);
    if (row.isEmpty()) {
        return std::nullopt;
    }
    const RowMarks marks = rowMarks(row);
    if ((mode == DisplayMode::Fhd && !marks.resolution) || marks.excluded) {
        return std::nullopt;
    }
    return fields(cuts(row, scratch), decodeTitle, scratch);
}

} // namespace

std::optional<SearchRecord> parseResultLine(QStringView line, DisplayMode mode) {
    Scratch scratch;
    return record(line, mode, scratch, false);
}

std::vector<SearchRecord> parseResultLines(const QStringList& lines, DisplayMode mode) {
    std::vector<SearchRecord> records;
    records.reserve(static_cast<size_t>(lines.size()));
    Scratch scratch;
    for (const QString& line : lines) {
        if (std::optional<SearchRecord> listed = record(line, mode, scratch, true)) {
            records.push_back(std::move(*listed));
        }
    }
    return records;
}

QString displayLine(const SearchRecord& record, DisplayMode mode) {
    const QStringView counts = mode == DisplayMode::Fhd ? u" Пиры: [" : u" [";
    return record.Title + u" - " + record.Size + counts + record.Seeders + u'/' + record.Leechers +
           u']';
}

} // namespace qb::search
