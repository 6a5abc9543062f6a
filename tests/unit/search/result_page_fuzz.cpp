// Any bytes as a search answer: preparing it into lines, parsing the lines in both modes and
// reading the rows back must neither crash nor hang.
#include "search/query/service_queries.h"
#include "search/results/result_parser.h"
#include "search/results/result_rows.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace qb::search;
    const QString answer =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    for (const QStringList& lines :
         {prepareTextAnswer(answer), prepareTopAnswer(answer), prepareCategoryAnswer(answer)}) {
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
