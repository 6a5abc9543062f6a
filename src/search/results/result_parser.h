#pragma once

#include "search/search_record.h"

#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>
#include <vector>

// Result rows of the tracker's pages, read line by line with the markers of its result table.
namespace qb::search {

// "normal" lists every release; "fhd" only those marked 1080p, 1080i or 2160p, and writes
// "Пиры:" before the counts.
enum class DisplayMode { Normal, Fhd };

// The record of one line of a prepared answer, before its title's "&amp;" is decoded; nothing
// when the line holds no result row or the row is one that is never listed (books, pictures,
// games, or a resolution the mode does not show).
std::optional<SearchRecord> parseResultLine(QStringView line, DisplayMode mode);

// Every listed record of the lines, in order, with "&amp;" in the titles turned into "&".
std::vector<SearchRecord> parseResultLines(const QStringList& lines, DisplayMode mode);

// The row of the results list that shows a record.
QString displayLine(const SearchRecord& record, DisplayMode mode);

} // namespace qb::search
