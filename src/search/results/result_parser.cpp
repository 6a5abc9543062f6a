#include "search/results/result_parser.h"

#include "search/text/fast_find.h"
#include "search/text/markers.h"

#include <bit>
#include <initializer_list>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

using namespace Qt::Literals::StringLiterals;

namespace qb::search {

namespace {

constexpr QStringView kRowStart = u"<a href=\"magnet";
constexpr QStringView kRowEnd = u"</span></td></tr>";
// From the '<' of the row start to the 'm' of "magnet".
constexpr qsizetype kMagnetOffset = 9;
constexpr QChar kNoBreakSpace = u'\u00A0';

// What one pass over a row finds of the marks that decide whether it is listed: a resolution
// mark (1080p, 2160p, 1080i), and a mark of a release that is never listed (books, pictures,
// games and one ripper's releases).
struct RowMarks {
    bool resolution = false;
    bool excluded = false;
};

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

RowMarks rowMarks(QStringView row) {
    RowMarks marks;
    const char16_t* const data = row.utf16();
    const qsizetype size = row.size();
    qsizetype i = 0;
#if defined(__SSE2__)
    // Eight places at a time, each tested on the first two characters of every mark: most
    // blocks hold no place where a mark can start.
    struct MarkStart {
        __m128i first;
        __m128i second;
    };
    const auto markStart = [](char16_t a, char16_t b) {
        return MarkStart{_mm_set1_epi16(static_cast<short>(a)),
                         _mm_set1_epi16(static_cast<short>(b))};
    };
    const MarkStart starts[] = {markStart(u')', u' '), markStart(u'J', u'P'), markStart(u'F', u'B'),
                                markStart(u'P', u'D'), markStart(u'P', u'C'), markStart(u'1', u'0'),
                                markStart(u'2', u'1')};
    for (; i + 8 < size; i += 8) {
        const __m128i firsts = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i));
        const __m128i seconds = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i + 1));
        __m128i hits = _mm_setzero_si128();
        for (const auto& [first, second] : starts) {
            hits = _mm_or_si128(hits, _mm_and_si128(_mm_cmpeq_epi16(firsts, first),
                                                    _mm_cmpeq_epi16(seconds, second)));
        }
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

// Every "GB", in any case, becomes " ГБ".
QString withGigabytes(QStringView text) {
    QString out;
    out.reserve(text.size() + 8);
    qsizetype copied = 0;
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        const QChar g = text[i];
        const QChar b = text[i + 1];
        if ((g == u'G' || g == u'g') && (b == u'B' || b == u'b')) {
            out.append(text.sliced(copied, i - copied));
            out.append(u" ГБ");
            copied = i + 2;
            ++i;
        }
    }
    out.append(text.sliced(copied));
    return out;
}

// The row text from the "m" of "magnet" to the end marker, without its no-break spaces.
QString rowText(QStringView line) {
    const qsizetype start = findText(line, kRowStart);
    if (start < 0) {
        return {};
    }
    const qsizetype end = findText(line, kRowEnd, start);
    if (end < 0 || end - start - kMagnetOffset < 1) {
        return {};
    }
    QString row = line.sliced(start + kMagnetOffset, end - start - kMagnetOffset).toString();
    if (row.contains(kNoBreakSpace)) {
        row.remove(kNoBreakSpace);
    }
    return row;
}

SearchRecord fields(QStringView row) {
    SearchRecord record;
    record.Magnet = textBefore(row, u"\">").toString();
    row = cutThrough(row, u"f=\"");
    record.PagePath = textBefore(row, u"\">").toString();
    row = cutThrough(row, u"\">");
    // The title link ends in a blank before "</a": the copy stops one character short.
    record.Title = textBefore(row, u"</a").toString();
    record.Title.chop(1);
    // A comments cell before the size carries a second "ht\">".
    row = cutThrough(row, u"ht\">");
    if (findText(row, u"ht\">") >= 0) {
        row = cutThrough(row, u"ht\">");
    }
    const QString rest = withGigabytes(row);
    QStringView tail = rest;
    record.Size = textBefore(tail, u"</t").toString();
    tail = cutThrough(tail, u"S\">");
    record.Seeders = textBefore(tail, u"</sp").toString();
    tail = cutThrough(tail, u"red\">");
    record.Leechers = tail.toString();
    return record;
}

} // namespace

std::optional<SearchRecord> parseResultLine(QStringView line, DisplayMode mode) {
    const QString row = rowText(line);
    if (row.isEmpty()) {
        return std::nullopt;
    }
    const RowMarks marks = rowMarks(row);
    if ((mode == DisplayMode::Fhd && !marks.resolution) || marks.excluded) {
        return std::nullopt;
    }
    return fields(row);
}

std::vector<SearchRecord> parseResultLines(const QStringList& lines, DisplayMode mode) {
    std::vector<SearchRecord> records;
    for (const QString& line : lines) {
        if (std::optional<SearchRecord> record = parseResultLine(line, mode)) {
            record->Title.replace(u"&amp;"_s, u"&"_s, Qt::CaseInsensitive);
            records.push_back(std::move(*record));
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
