// Any bytes as a search answer: preparing it into lines, parsing the lines in both modes and
// reading the rows back must neither crash nor hang; there are never more records than lines
// that hold a row's start, and the FHD-only mode lists no more records than the plain one.
#include "search/query/service_queries.h"
#include "search/results/result_parser.h"
#include "search/results/result_rows.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <iterator>

namespace {
// The input's pieces between the markers of a result row, so that most inputs reach the cuts.
QString asResultRow(const QString& input) {
    static const QString kMarkers[] = {QStringLiteral("<a href=\"magnet"),
                                       QStringLiteral("\">"),
                                       QStringLiteral("f=\""),
                                       QStringLiteral("\">"),
                                       QStringLiteral("</a"),
                                       QStringLiteral("ht\">"),
                                       QStringLiteral("</t"),
                                       QStringLiteral("S\">"),
                                       QStringLiteral("</sp"),
                                       QStringLiteral("red\">")};
    const qsizetype piece = input.size() / static_cast<qsizetype>(std::size(kMarkers)) + 1;
    QString row;
    for (qsizetype i = 0; i < static_cast<qsizetype>(std::size(kMarkers)); ++i) {
        row += kMarkers[i] + input.mid(i * piece, piece);
    }
    return row + QStringLiteral("</span></td></tr>");
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace qb::search;
    const QString answer =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    for (const QStringList& lines :
         {prepareTextAnswer(answer), prepareTopAnswer(answer), prepareCategoryAnswer(answer),
          QStringList{asResultRow(answer)}}) {
        const auto rowStarts = std::count_if(lines.begin(), lines.end(), [](const QString& line) {
            return line.contains(QStringLiteral("<a href=\"magnet"));
        });
        const size_t listed = parseResultLines(lines, DisplayMode::Normal).size();
        const size_t fhd = parseResultLines(lines, DisplayMode::Fhd).size();
        if (listed > static_cast<size_t>(rowStarts) || fhd > listed) {
            std::abort();
        }
        for (const DisplayMode mode : {DisplayMode::Normal, DisplayMode::Fhd}) {
            for (const SearchRecord& record : parseResultLines(lines, mode)) {
                const QString line = displayLine(record, mode);
                (void)resultColour(line);
                (void)resultHint(line);
                (void)decimalInteger(seederText(line));
                (void)similarQuery(record.Title);
            }
        }
    }
    return 0;
}
