#include "search/results/result_parser.h"

#include "search/text/markers.h"

using namespace Qt::Literals::StringLiterals;

namespace qb::search {

namespace {

constexpr QStringView kRowStart = u"<a href=\"magnet";
constexpr QStringView kRowEnd = u"</span></td></tr>";
// From the '<' of the row start to the 'm' of "magnet".
constexpr qsizetype kMagnetOffset = 9;
constexpr QChar kNoBreakSpace = u'\u00A0';

constexpr QStringView kResolutions[] = {u"1080p", u"2160p", u"1080i"};
// Books, pictures, games and one ripper's releases are never listed.
constexpr QStringView kExcluded[] = {u") РС", u") PC", u"JPG", u"JPEG", u"FB2", u"PDF", u"PCRec"};

bool containsAny(QStringView text, const auto& needles) {
    for (QStringView needle : needles) {
        if (text.contains(needle)) {
            return true;
        }
    }
    return false;
}

// The row text from the "m" of "magnet" to the end marker, without its no-break spaces.
QString rowText(QStringView line) {
    const qsizetype start = line.indexOf(kRowStart);
    if (start < 0) {
        return {};
    }
    const qsizetype end = line.indexOf(kRowEnd, start);
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
    if (row.contains(u"ht\">")) {
        row = cutThrough(row, u"ht\">");
    }
    QString rest = row.toString();
    rest.replace(u"GB"_s, u" ГБ"_s, Qt::CaseInsensitive);
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
    if (mode == DisplayMode::Fhd && !containsAny(row, kResolutions)) {
        return std::nullopt;
    }
    if (containsAny(row, kExcluded)) {
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
