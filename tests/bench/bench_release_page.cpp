// Building a release page against one memmem scan of the same answer: the page should cost no
// more than a few dozen plain passes over its answer, and stay linear on answers of any shape.
#include "release_page_maker.h"
#include "releaseinfo/page/release_page.h"

#include <QString>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

const qb::releaseinfo::PageHosts kHosts{QStringLiteral("http://127.0.0.1:8091"),
                                        QStringLiteral("img.tracker.example"),
                                        QStringLiteral("www.filmdb.example")};

// One scan of the whole answer for a marker it does not hold.
bool scan(const std::string& bytes) {
    static const char kAbsent[] = "</textarea></div><!--";
    return memmem(bytes.data(), bytes.size(), kAbsent, sizeof kAbsent - 1) != nullptr;
}

// Both in the same run. The machine may be shared: each is taken at its fastest, the run that
// nothing else disturbed, and "scans" is the page's cost counted in scans.
void BM_ReleasePageVsOneScan(benchmark::State& state) {
    const std::string bytes =
        qb::bench::releasePageAnswer(static_cast<std::size_t>(state.range(0)));
    const QString answer = QString::fromStdString(bytes);
    double buildSeconds = 1e9;
    double scanSeconds = 1e9;
    for (auto _ : state) {
        const auto start = Clock::now();
        benchmark::DoNotOptimize(qb::releaseinfo::buildReleasePage(answer, kHosts));
        const auto built = Clock::now();
        benchmark::DoNotOptimize(scan(bytes));
        const auto scanned = Clock::now();
        buildSeconds = std::min(buildSeconds, std::chrono::duration<double>(built - start).count());
        scanSeconds = std::min(scanSeconds, std::chrono::duration<double>(scanned - built).count());
    }
    state.counters["build_us"] = buildSeconds * 1e6;
    state.counters["scan_us"] = scanSeconds * 1e6;
    state.counters["scans"] = buildSeconds / scanSeconds;
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes.size()));
}
BENCHMARK(BM_ReleasePageVsOneScan)->Arg(300 * 1024)->Unit(benchmark::kMicrosecond)->MinTime(2.0);

// Answers of 10 MB shaped against the builder: every word split by the "MI" rule, lines of
// blanks that carry on, one endless line, and screenshots that step on by eight characters.
void BM_ReleasePageShapes(benchmark::State& state) {
    const std::size_t size = 10u << 20;
    QString answer;
    switch (state.range(0)) {
    case 0:
        answer = QStringLiteral("<p>mi").repeated(static_cast<qsizetype>(size / 5));
        break;
    case 1:
        answer = QStringLiteral(">  \n").repeated(static_cast<qsizetype>(size / 4));
        break;
    case 2:
        answer = QStringLiteral("\"<tr><img src=\"x\">Скриншоты ") +
                 QStringLiteral("<b>a, ").repeated(static_cast<qsizetype>(size / 6));
        break;
    default:
        answer = QStringLiteral("\">Скриншоты img src") +
                 QString(static_cast<qsizetype>(size), u'x') +
                 QStringLiteral("img src\"</textarea></div>");
        break;
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(qb::releaseinfo::buildReleasePage(answer, kHosts));
    }
}
BENCHMARK(BM_ReleasePageShapes)->DenseRange(0, 3)->Unit(benchmark::kMillisecond)->Iterations(2);

} // namespace
