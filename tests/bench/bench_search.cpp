// The parse of a search answer into result records and rows (showSR without its widgets),
// beside one memmem scan of the same bytes for the row marker.
#include "result_page_maker.h"
#include "search/query/service_queries.h"
#include "search/results/result_parser.h"

#include <benchmark/benchmark.h>

#include <QStringList>

#include <cstring>

namespace {

using namespace qb::search;

constexpr int kRowsPerPage = 50;

const QString& twoPageAnswer() {
    static const QString answer =
        qb::bench::makeResultPage(0, kRowsPerPage) + qb::bench::makeResultPage(1, kRowsPerPage);
    return answer;
}

// showSR's work without the list widget: records, then the rows' texts.
void showSRLines(benchmark::State& state) {
    const QStringList lines = prepareTextAnswer(twoPageAnswer());
    qint64 bytes = 0;
    for (const QString& line : lines) {
        bytes += line.size() * 2;
    }
    const auto mode = state.range(0) == 0 ? DisplayMode::Normal : DisplayMode::Fhd;
    for (auto _ : state) {
        std::vector<SearchRecord> records = parseResultLines(lines, mode);
        QStringList rows;
        rows.reserve(static_cast<qsizetype>(records.size()));
        for (const SearchRecord& record : records) {
            rows << displayLine(record, mode);
        }
        benchmark::DoNotOptimize(rows);
    }
    state.SetBytesProcessed(state.iterations() * bytes);
    state.counters["rows"] = static_cast<double>(parseResultLines(lines, mode).size());
    state.counters["answer_kB"] = static_cast<double>(twoPageAnswer().toUtf8().size()) / 1024.0;
}

// Counts the row markers in `haystack` with memmem: one pass over its bytes.
int countWithMemmem(const char* haystack, size_t size, const void* needle, size_t needleSize) {
    int count = 0;
    const char* at = haystack;
    const char* const end = haystack + size;
    while (const void* found = memmem(at, static_cast<size_t>(end - at), needle, needleSize)) {
        ++count;
        at = static_cast<const char*>(found) + needleSize;
    }
    return count;
}

// The same bytes as showSR reads: the prepared lines in memory (UTF-16).
void memmemScanOfTheLines(benchmark::State& state) {
    const QString joined = prepareTextAnswer(twoPageAnswer()).join(QString());
    const QString marker = QStringLiteral("<a href=\"magnet");
    const auto size = static_cast<size_t>(joined.size()) * 2;
    for (auto _ : state) {
        benchmark::DoNotOptimize(countWithMemmem(reinterpret_cast<const char*>(joined.utf16()),
                                                 size, marker.utf16(),
                                                 static_cast<size_t>(marker.size()) * 2));
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(size));
}

// The answer as it came over the wire (UTF-8).
void memmemScanOfTheAnswer(benchmark::State& state) {
    const QByteArray bytes = twoPageAnswer().toUtf8();
    for (auto _ : state) {
        benchmark::DoNotOptimize(countWithMemmem(
            bytes.constData(), static_cast<size_t>(bytes.size()), "<a href=\"magnet", 15));
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}

} // namespace

BENCHMARK(showSRLines)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(memmemScanOfTheLines)->Unit(benchmark::kMicrosecond);
BENCHMARK(memmemScanOfTheAnswer)->Unit(benchmark::kMicrosecond);
