// The window's thread during a refresh of a large collection: the longest time in which it
// handled no event, from the click until the rows are there.
#include "list_answer_maker.h"

#include "app/tform1.h"
#include "connection/connection.h"
#include "fake_platform.h"

#include <benchmark/benchmark.h>
#include <httplib.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <thread>

namespace {

// `today`: the server is of today's generation. It answers the 1.1 list request with 404 as
// such a server does, so the first refresh also learns the generation.
void refreshStall(benchmark::State& state, bool today) {
    const int entries = static_cast<int>(state.range(0));
    const std::string answer =
        (today ? qb::bench::makeTodayListAnswer(entries) : qb::bench::makeListAnswer(entries))
            .toStdString();
    httplib::Server server;
    const auto list = [&answer](const httplib::Request&, httplib::Response& response) {
        response.set_content(answer, "application/json; charset=utf-8");
    };
    if (today) {
        server.Post("/torrents", list);
        server.Post("/torrent/list", [](const httplib::Request&, httplib::Response& response) {
            response.status = 404;
            response.set_content("404 page not found", "text/plain");
        });
    } else {
        server.Post("/torrent/list", list);
    }
    const int port = server.bind_to_any_port("127.0.0.1");
    std::thread serving([&server] { server.listen_after_bind(); });

    QTemporaryDir dir;
    qb::test::FakePlatform fakes = qb::test::makeFakePlatform(dir.path() + u'/');
    TForm1 form(std::move(fakes.platform));
    form.SrvAdress->setText(QStringLiteral("http://127.0.0.1:") + QString::number(port));

    qint64 longest = 0;
    for (auto _ : state) {
        QElapsedTimer clock;
        qint64 last = 0;
        qint64 worst = 0;
        QTimer tick;
        tick.setInterval(2);
        QObject::connect(&tick, &QTimer::timeout, &tick, [&] {
            worst = std::max(worst, clock.elapsed() - last);
            last = clock.elapsed();
        });
        clock.start();
        tick.start();
        form.connection().ConnectButtonClick();
        // The time from the last event before the handler returned counts as well.
        worst = std::max(worst, clock.elapsed() - last);
        longest = std::max(longest, worst);
        if (form.TorrentList->count() != entries) {
            state.SkipWithError("the refresh did not show every entry");
            break;
        }
    }
    state.counters["longest_stall_ms"] = static_cast<double>(longest);
    state.counters["answer_kB"] = static_cast<double>(answer.size()) / 1024.0;
    server.stop();
    serving.join();
}

void api11RefreshStall(benchmark::State& state) {
    refreshStall(state, false);
}

void todayRefreshStall(benchmark::State& state) {
    refreshStall(state, true);
}

} // namespace

BENCHMARK(api11RefreshStall)
    ->Name("refreshStall")
    ->Arg(5000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);
BENCHMARK(todayRefreshStall)->Arg(5000)->Unit(benchmark::kMillisecond)->Iterations(5);
