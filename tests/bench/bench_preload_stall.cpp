// How long the window's thread is held at a time while a torrent is played: the play command,
// its playlist request, the preload request and the status polls must all leave the window
// responsive. A timer on the window's thread ticks every 2 ms; the longest gap between two
// ticks, from the play command to the end of the preload, is the longest stall.
#include "app/app_core.h"
#include "app/tform1.h"
#include "app/workers/bmd_thread.h"
#include "fake_platform.h"
#include "playback/playback.h"
#include "service_standin.h"
#include "standin_fixture.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QListWidget>
#include <QProgressBar>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <algorithm>

namespace {

void waitFor(const std::function<bool()>& done) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < 60000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(1);
    }
}

void preloadStall(benchmark::State& state) {
    QTemporaryDir dir;
    QDir(dir.path()).mkpath(QStringLiteral("server"));
    // Larger than the server's 20 MB preload: of a single-file torrent the server never counts
    // more bytes than the file has, and the monitor waits for more than the preload's size.
    const std::string film = qb::testing::TorrServerStandin::makeTorrentFile(
        dir.path().toStdString(), "Film.mkv", 24 * 1024 * 1024);
    qb::testing::TorrServerStandin server(qb::testing::torrServerOptions(0, 4 * 1024 * 1024));
    qb::testing::ServiceStandin service;
    if (film.empty() || !server.start() || server.addTorrentFile(film).empty()) {
        state.SkipWithError("the stand-in TorrServer did not come up");
        return;
    }
    {
        QFile settings(dir.path() + QStringLiteral("/app.json"));
        settings.open(QIODevice::WriteOnly);
        settings.write(("[{\"Title\":\"\",\"LocalServer\":\"0\",\"Server\":\"" + server.baseUrl() +
                        "\",\"Player\":\"/usr/bin/player\",\"Minimize\":\"0\",\"Tor\":\"" +
                        service.baseUrl() + "\"}]")
                           .c_str());
    }
    qb::test::FakePlatform fakes = qb::test::makeFakePlatform(dir.path() + QStringLiteral("/"));
    qb::test::FakeProcesses* processes = fakes.processes;
    TForm1 form(std::move(fakes.platform));
    if (!form.core().FormCreate()) {
        state.SkipWithError("the window did not start");
        return;
    }
    form.show();
    // The window's own start (showing, loading the idle page) is no part of the measure.
    QElapsedTimer settle;
    settle.start();
    waitFor([&] { return settle.elapsed() > 2000; });

    double longest = 0;
    for (auto _ : state) {
        const size_t starts = processes->starts.size();
        QElapsedTimer clock;
        qint64 last = 0;
        qint64 stall = 0;
        QTimer ticker;
        ticker.setInterval(2);
        QObject::connect(&ticker, &QTimer::timeout, [&] {
            stall = std::max(stall, clock.elapsed() - last);
            last = clock.elapsed();
        });
        clock.start();
        ticker.start();
        form.TorrentList->setCurrentRow(0);
        form.playback().mPlayClick();
        waitFor([&] {
            return processes->starts.size() > starts && !form.Gauge1->isVisible() &&
                   !form.bmdThread1()->isRunning() && !form.bmdThread2()->isRunning();
        });
        stall = std::max(stall, clock.elapsed() - last);
        ticker.stop();
        longest = std::max(longest, static_cast<double>(stall));
        state.SetIterationTime(static_cast<double>(clock.elapsed()) / 1000.0);
    }
    state.counters["longest_stall_ms"] = longest;
}

BENCHMARK(preloadStall)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace
