// The window's thread during the series check of a collection of 5,000 torrents, about half of
// them tracker releases of several files (offscreen, against a loopback server and service,
// whose release pages announce more files for one release in eight): the longest time in which
// it handled no event, from the start of the check to its end.
#include "list_answer_maker.h"
#include "loopback_server.h"
#include "window_stall.h"

#include "app/app_core.h"
#include "app/tform1.h"
#include "app/workers/bmd_thread.h"
#include "connection/connection.h"
#include "fake_platform.h"

#include <benchmark/benchmark.h>
#include <httplib.h>

#include <QLineEdit>
#include <QListWidget>
#include <QTemporaryDir>

#include <algorithm>
#include <string>

namespace {

constexpr int kTorrents = 5000;

void seriesCheckStall(benchmark::State& state) {
    const std::string list = qb::bench::makeListAnswer(kTorrents).toStdString();
    httplib::Server server;
    server.Post("/torrent/list", [&list](const httplib::Request&, httplib::Response& response) {
        response.set_content(list, "application/json; charset=utf-8");
    });
    httplib::Server service;
    service.Get("/get_info.php", [](const httplib::Request& request, httplib::Response& response) {
        const bool grown = std::stoll(request.get_param_value("id")) % 8 == 0;
        response.set_content(std::string("<span id=\"displayfiles\">(") + (grown ? "99" : "1") +
                                 ")</span>",
                             "text/html; charset=utf-8");
    });
    const qb::bench::Serving servingList(server);
    const qb::bench::Serving servingPages(service);

    QTemporaryDir dir;
    qb::test::FakePlatform fakes = qb::test::makeFakePlatform(dir.path() + u'/');
    TForm1 form(std::move(fakes.platform));
    form.SrvAdress->setText(servingList.address());
    form.core().setServiceBaseUrlForTest(servingPages.address());
    form.connection().ConnectButtonClick();

    qint64 longest = 0;
    for (auto _ : state) {
        const qb::bench::StallMeter meter;
        form.checkSerialsTH()->Start();
        if (!qb::bench::handleEventsUntil([&] { return !form.checkSerialsTH()->isRunning(); })) {
            state.SkipWithError("the check did not end");
            break;
        }
        longest = std::max(longest, meter.longestMs());
        if (form.UpdateList1->count() == 0) {
            state.SkipWithError("the check marked nothing");
            break;
        }
    }
    state.counters["longest_stall_ms"] = static_cast<double>(longest);
}

} // namespace

BENCHMARK(seriesCheckStall)->Unit(benchmark::kMillisecond)->Iterations(3);
