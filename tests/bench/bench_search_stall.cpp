// The window's thread during a text search of two pages of 100 results each (offscreen,
// against a loopback service): the longest time in which it handled no event, from the search
// until the rows are there.
#include "loopback_server.h"
#include "result_page_maker.h"
#include "window_stall.h"

#include "app/app_core.h"
#include "app/tform1.h"
#include "connection/connection.h"
#include "fake_platform.h"
#include "search/tracker_search.h"

#include <benchmark/benchmark.h>
#include <httplib.h>

#include <QElapsedTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QTemporaryDir>

#include <algorithm>
#include <string>

namespace {

constexpr int kRowsPerPage = 100;

void searchStall(benchmark::State& state) {
    const std::string pages[] = {qb::bench::makeResultPage(0, kRowsPerPage).toStdString(),
                                 qb::bench::makeResultPage(1, kRowsPerPage).toStdString()};
    httplib::Server service;
    service.Get("/get.php", [&pages](const httplib::Request& request, httplib::Response& response) {
        const bool second = request.get_param_value("q").starts_with("search/1/");
        response.set_content(pages[second ? 1 : 0], "text/html; charset=utf-8");
    });
    const qb::bench::Serving serving(service);

    QTemporaryDir dir;
    qb::test::FakePlatform fakes = qb::test::makeFakePlatform(dir.path() + u'/');
    TForm1 form(std::move(fakes.platform));
    form.core().setServiceBaseUrlForTest(serving.address());
    // The window's start shows the idle page, which starts the information view's engine: no
    // part of the measure.
    form.connection().ShowIdlePage();
    QElapsedTimer settle;
    settle.start();
    qb::bench::handleEventsUntil([&] { return settle.elapsed() > 2000; });

    qint64 longest = 0;
    for (auto _ : state) {
        form.SearchT->setText(QStringLiteral("северное сияние"));
        const qb::bench::StallMeter meter;
        form.search().SearchClick();
        longest = std::max(longest, meter.longestMs());
        if (form.SearchResult->count() == 0) {
            state.SkipWithError("the search showed nothing");
            break;
        }
    }
    state.counters["longest_stall_ms"] = static_cast<double>(longest);
    state.counters["rows"] = form.SearchResult->count();
}

} // namespace

BENCHMARK(searchStall)->Unit(benchmark::kMillisecond)->Iterations(5);
