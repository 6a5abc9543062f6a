#include "search/results/result_parser.h"

#include "search/results/row_marks.h"
#include "search/text/fast_find.h"
#include "search/text/markers.h"

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
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

private:
    static char16_t* ofSize(std::vector<char16_t>& buffer, qsizetype size) {
        if (buffer.size() < static_cast<size_t>(size)) {
            buffer.resize(static_cast<size_t>(size));
        }
        return buffer.data();
    }

    std::vector<char16_t> row_;
    std::vector<char16_t> tail_;
};

// `text` without its no-break spaces: the text itself when it has none, else a copy.
QStringView withoutNoBreakSpaces(QStringView text, Scratch& scratch) {
    qsizetype i = text.indexOf(QChar(kNoBreakSpace));
    if (i < 0) {
        return text;
    }
    const char16_t* const in = text.utf16();
    char16_t* const out = scratch.row(text.size());
    std::memcpy(out, in, static_cast<size_t>(i) * 2);
    qsizetype written = i;
#if defined(__SSE2__)
    // Blocks of eight without a no-break space are copied whole.
    const __m128i space = _mm_set1_epi16(static_cast<short>(kNoBreakSpace));
    while (i + 8 <= text.size()) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
        if (_mm_movemask_epi8(_mm_cmpeq_epi16(block, space)) == 0) {
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out + written), block);
            written += 8;
            i += 8;
            continue;
        }
        for (const qsizetype blockEnd = i + 8; i < blockEnd; ++i) {
            out[written] = in[i];
            written += in[i] != kNoBreakSpace ? 1 : 0;
        }
    }
#endif
    for (; i < text.size(); ++i) {
        out[written] = in[i];
        written += in[i] != kNoBreakSpace ? 1 : 0;
    }
    return {out, written};
}

// The row text from the "m" of "magnet" to the end marker, without its no-break spaces.
QStringView rowText(QStringView line, Scratch& scratch) {
    const qsizetype start = findText(line, kRowStart);
    if (start < 0) {
        return {};
    }
    const qsizetype end = findText(line, kRowEnd, start);
    if (end < 0 || end - start - kMagnetOffset < 1) {
        return {};
    }
    return withoutNoBreakSpaces(line.sliced(start + kMagnetOffset, end - start - kMagnetOffset),
                                scratch);
}

bool isLetter(char16_t c, char16_t lower) {
    return (c | 0x20) == lower; // only the two cases of a Latin letter pass
}

// Every "GB", in any case, becomes " ГБ": the text itself when it has none, else a copy.
QStringView withGigabytes(QStringView text, Scratch& scratch) {
    const char16_t* const in = text.utf16();
    const qsizetype size = text.size();
    char16_t* out = nullptr;
    qsizetype written = 0;
    qsizetype copied = 0;
    qsizetype i = 0;
#if defined(__SSE2__)
    // Blocks of eight without a "g" in either case are passed over whole.
    const __m128i lowerCase = _mm_set1_epi16(0x20);
    const __m128i g = _mm_set1_epi16(u'g');
    while (i + 8 < size &&
           _mm_movemask_epi8(_mm_cmpeq_epi16(
               _mm_or_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i)), lowerCase),
               g)) == 0) {
        i += 8;
    }
#endif
    for (; i + 1 < size; ++i) {
        if (isLetter(in[i], u'g') && isLetter(in[i + 1], u'b')) {
            if (out == nullptr) {
                out = scratch.tail(size + size / 2 + 1); // each two letters become three
            }
            std::memcpy(out + written, in + copied, static_cast<size_t>(i - copied) * 2);
            written += i - copied;
            out[written++] = u' ';
            out[written++] = u'Г';
            out[written++] = u'Б';
            copied = i + 2;
            ++i;
        }
    }
    if (out == nullptr) {
        return text;
    }
    std::memcpy(out + written, in + copied, static_cast<size_t>(size - copied) * 2);
    return {out, written + size - copied};
}

// The title with every "&amp;", in any case, turned into "&".
QString decodedTitle(QStringView title) {
    qsizetype at = title.indexOf(u'&');
    if (at < 0) {
        return title.toString();
    }
    QString decoded(title.size(), Qt::Uninitialized);
    char16_t* const out = reinterpret_cast<char16_t*>(decoded.data());
    const char16_t* const in = title.utf16();
    std::memcpy(out, in, static_cast<size_t>(at) * 2);
    qsizetype written = at;
    while (at < title.size()) {
        if (in[at] == u'&' && at + 4 < title.size() && isLetter(in[at + 1], u'a') &&
            isLetter(in[at + 2], u'm') && isLetter(in[at + 3], u'p') && in[at + 4] == u';') {
            out[written++] = u'&';
            at += 5;
        } else {
            out[written++] = in[at++];
        }
    }
    decoded.truncate(written);
    return decoded;
}

SearchRecord fields(QStringView row, Scratch& scratch, bool decodeTitle) {
    SearchRecord record;
    record.Magnet = textBefore(row, u"\">").toString();
    row = cutThrough(row, u"f=\"");
    // The page path ends where the next cut goes through: one search serves both.
    constexpr QStringView kLinkEnd = u"\">";
    const qsizetype linkEnd = findText(row, kLinkEnd);
    record.PagePath = linkEnd > 0 ? row.first(linkEnd).toString() : QString();
    row = row.sliced(
        std::min(linkEnd >= 0 ? linkEnd + kLinkEnd.size() : kLinkEnd.size() - 1, row.size()));
    // The title link ends in a blank before "</a": the copy stops one character short.
    QStringView title = textBefore(row, u"</a");
    if (!title.isEmpty()) {
        title.chop(1);
    }
    record.Title = decodeTitle ? decodedTitle(title) : title.toString();
    // A comments cell before the size carries a second "ht\">".
    constexpr QStringView kCellEnd = u"ht\">";
    row = cutThrough(row, kCellEnd);
    if (const qsizetype second = findText(row, kCellEnd); second >= 0) {
        row = row.sliced(second + kCellEnd.size());
    }
    QStringView tail = withGigabytes(row, scratch);
    record.Size = textBefore(tail, u"</t").toString();
    tail = cutThrough(tail, u"S\">");
    record.Seeders = textBefore(tail, u"</sp").toString();
    tail = cutThrough(tail, u"red\">");
    record.Leechers = tail.toString();
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
    return fields(row, scratch, decodeTitle);
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
