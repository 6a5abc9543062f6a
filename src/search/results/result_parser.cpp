#include "search/results/result_parser.h"

#include "search/results/row_marks.h"
#include "search/text/fast_find.h"
#include "search/text/markers.h"

#include <cstring>

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
    qsizetype at = text.indexOf(QChar(kNoBreakSpace));
    if (at < 0) {
        return text;
    }
    char16_t* const out = scratch.row(text.size());
    qsizetype written = 0;
    qsizetype from = 0;
    while (at >= 0) {
        std::memcpy(out + written, text.utf16() + from, static_cast<size_t>(at - from) * 2);
        written += at - from;
        from = at + 1;
        at = text.indexOf(QChar(kNoBreakSpace), from);
    }
    std::memcpy(out + written, text.utf16() + from, static_cast<size_t>(text.size() - from) * 2);
    written += text.size() - from;
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
    for (qsizetype i = 0; i + 1 < size; ++i) {
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
    record.PagePath = textBefore(row, u"\">").toString();
    row = cutThrough(row, u"\">");
    // The title link ends in a blank before "</a": the copy stops one character short.
    QStringView title = textBefore(row, u"</a");
    title.chop(1);
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
